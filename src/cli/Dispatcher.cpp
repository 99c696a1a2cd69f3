#include "cli/Dispatcher.h"

#include <algorithm>
#include <exception>
#include <iostream>

#include "base/ApplicationTitle.h"
#include "base/ConversionError.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/RendererHandOver.h"

namespace pq::cli {

namespace {

constexpr Command kCommands[] = {
    {"info", "pqdesk-cli info FILE.bin", runInfo},
    {"dump", "pqdesk-cli dump FILE.bin [--first N] [--count M] [--xlsx FILE] [--bom] [--headers zh|id]", runDump},
    {"delete", "pqdesk-cli delete FILE.bin --first N [--count M]", runDelete},
    {"generate",
     "pqdesk-cli generate OUT.bin [--records N] [--start \"YYYY-MM-DD HH:MM:SS\"] [--interval SECONDS] "
     "[--level CODE] [--pt X] [--ct X] [--wiring 1|3] [--station TEXT] [--point TEXT] [--seed S]",
     runGenerate},
    {"report",
     "pqdesk-cli report FILE.bin --phase Ua|Ub|Uc|Ia|Ib|Ic [--from \"YYYY-M-D H:M\"] [--to \"YYYY-M-D H:M\"] "
     "[--level TEXT] [--min-sc TEXT] [--supply TEXT] [--agreed TEXT] [--station TEXT] [--point TEXT] [--unit "
     "TEXT] [--tester TEXT] [--print-date TEXT] [--json FILE] [--cells FILE] [--pdf FILE] [--png FILE] "
     "[--qrp FILE] [--xls FILE] [--xlsx FILE]",
     runReport},
    {"render", "pqdesk-cli render FILE.QRP [--pdf FILE] [--png FILE] [--page N]", runRender},
    {"users", "pqdesk-cli users init|list|add NAME [--role ROLE]|remove NAME [--db PATH]", runUsers},
    {"assess",
     "pqdesk-cli assess FILE.bin|FOLDER... [--from \"YYYY-MM-DD HH:MM:SS\"] [--to \"YYYY-MM-DD HH:MM:SS\"] "
     "[--limits FILE] [--json FILE] [--pdf FILE] [--png FILE (the first page)] [--xlsx FILE] [--docx FILE]",
     runAssess},
    {"events",
     "pqdesk-cli events FILE.bin|FOLDER... [--from \"YYYY-MM-DD HH:MM:SS\"] [--to \"YYYY-MM-DD HH:MM:SS\"] "
     "[--limits FILE] [--csv FILE] [--headers zh|id]",
     runEvents},
    {"survey", "pqdesk-cli survey FILE.bin|FOLDER... [--json FILE] [--xlsx FILE] [--csv-minutes FILE] "
     "[--headers zh|id]", runSurvey},
    {"archive",
     "pqdesk-cli archive add FILE.bin|FOLDER... [--json FILE] | list [--station S] [--point P] [--from T] [--to T] "
     "[--json FILE] | show ID [--json FILE] | events [--station S] [--point P] [--from T] [--to T] [--kind K] "
     "[--csv FILE] | remove ID  [--archive PATH|sqlite:PATH|postgresql://...]",
     runArchive},
};

// --pdf, --png and --docx (its charts) draw with Qt, which only pqdesk-cli-render links
// (RendererHandOver.h).
bool asksForDrawnPages(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--pdf") != args.end() ||
         std::find(args.begin(), args.end(), "--png") != args.end() ||
         std::find(args.begin(), args.end(), "--docx") != args.end();
}

void printUsage(std::ostream& out) {
  out << "usage:\n";
  for (const auto& command : kCommands) out << "  " << command.usage << '\n';
}

void printHelp() {
  printUsage(std::cout);
  std::cout << "  pqdesk-cli --help | --version\n"
               "\n"
               "PQ Desk on the command line: record files, reports, assessments, the measurement archive\n"
               "and the user database, with the program's own import, statistics and report pages.\n"
               "Exit status: 0 done, 1 unexpected error, 2 usage error, 3 refused input. See pqdesk-cli(1).\n";
}

}  // namespace

int runCommandLine(const std::vector<std::string>& commandLine) {
  if (commandLine.empty()) {
    printUsage(std::cerr);
    return kExitUsage;
  }
  const std::string& name = commandLine.front();
  if (name == "--help" || name == "-h") {
    printHelp();
    return kExitDone;
  }
  if (name == "--version") {
    std::cout << "pqdesk-cli " << app::kVersion << '\n';
    return kExitDone;
  }
  for (const auto& command : kCommands) {
    if (name != command.name) continue;
    try {
      const std::vector<std::string> args(commandLine.begin() + 1, commandLine.end());
      if (asksForDrawnPages(args)) handOverToRenderer(name, args);
      return command.run(args);
    } catch (const UsageError& e) {
      std::cerr << e.what() << "\nusage: " << command.usage << '\n';
      return kExitUsage;
    } catch (const ConversionError& e) {
      std::cerr << e.what() << '\n';
      return kExitRefused;
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return kExitUnexpected;
    }
  }
  std::cerr << "unknown command " << name << '\n';
  printUsage(std::cerr);
  return kExitUsage;
}

}  // namespace pq::cli
