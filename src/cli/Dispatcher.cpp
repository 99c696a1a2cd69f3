#include "cli/Dispatcher.h"

#include <exception>
#include <iostream>

#include "base/ConversionError.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"

namespace pq::cli {

namespace {

constexpr Command kCommands[] = {
    {"info", "pqdesk-cli info FILE.bin", runInfo},
    {"dump", "pqdesk-cli dump FILE.bin [--first N] [--count M]", runDump},
    {"delete", "pqdesk-cli delete FILE.bin --first N [--count M]", runDelete},
    {"generate",
     "pqdesk-cli generate OUT.bin [--records N] [--start \"YYYY-MM-DD HH:MM:SS\"] [--interval SECONDS] "
     "[--level CODE] [--pt X] [--ct X] [--wiring 1|3] [--station TEXT] [--point TEXT] [--seed S]",
     runGenerate},
    {"report",
     "pqdesk-cli report FILE.bin --phase Ua|Ub|Uc|Ia|Ib|Ic [--from \"YYYY-M-D H:M\"] [--to \"YYYY-M-D H:M\"] "
     "[--level TEXT] [--min-sc TEXT] [--supply TEXT] [--agreed TEXT] [--station TEXT] [--point TEXT] [--unit "
     "TEXT] [--tester TEXT] [--print-date TEXT] [--json FILE] [--cells FILE] [--pdf FILE] [--png FILE] "
     "[--qrp FILE] [--xls FILE]",
     runReport},
    {"render", "pqdesk-cli render FILE.QRP [--pdf FILE] [--png FILE] [--page N]", runRender},
    {"users", "pqdesk-cli users init|list|add NAME [--role ROLE]|remove NAME [--db PATH]", runUsers},
};

void printUsage() {
  std::cerr << "usage:\n";
  for (const auto& command : kCommands) std::cerr << "  " << command.usage << '\n';
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args) {
  if (args.empty()) {
    printUsage();
    return kExitUsage;
  }
  const std::string& name = args.front();
  for (const auto& command : kCommands) {
    if (name != command.name) continue;
    try {
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
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
  printUsage();
  return kExitUsage;
}

}  // namespace pq::cli
