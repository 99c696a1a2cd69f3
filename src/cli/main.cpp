#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "base/ConversionError.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"

namespace {

using pq::cli::Command;

constexpr Command kCommands[] = {
    {"info", "pqdesk-cli info FILE.bin", pq::cli::runInfo},
    {"dump", "pqdesk-cli dump FILE.bin [--first N] [--count M]", pq::cli::runDump},
    {"delete", "pqdesk-cli delete FILE.bin --first N [--count M]", pq::cli::runDelete},
    {"generate",
     "pqdesk-cli generate OUT.bin [--records N] [--start \"YYYY-MM-DD HH:MM:SS\"] [--interval SECONDS] "
     "[--level CODE] [--pt X] [--ct X] [--wiring 1|3] [--station TEXT] [--point TEXT] [--seed S]",
     pq::cli::runGenerate},
    {"report",
     "pqdesk-cli report FILE.bin --phase Ua|Ub|Uc|Ia|Ib|Ic [--from \"YYYY-M-D H:M\"] [--to \"YYYY-M-D H:M\"] "
     "[--level TEXT] [--min-sc TEXT] [--supply TEXT] [--agreed TEXT] [--station TEXT] [--point TEXT] [--unit "
     "TEXT] [--tester TEXT] [--print-date TEXT] [--json FILE] [--cells FILE] [--pdf FILE] [--png FILE] "
     "[--qrp FILE] [--xls FILE]",
     pq::cli::runReport},
    {"render", "pqdesk-cli render FILE.QRP [--pdf FILE] [--png FILE] [--page N]", pq::cli::runRender},
    {"users", "pqdesk-cli users init|list|add NAME [--role ROLE]|remove NAME [--db PATH]", pq::cli::runUsers},
};

void printUsage() {
  std::cerr << "usage:\n";
  for (const auto& command : kCommands) std::cerr << "  " << command.usage << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) {
    printUsage();
    return pq::cli::kExitUsage;
  }
  const std::string name = argv[1];
  for (const auto& command : kCommands) {
    if (name != command.name) continue;
    try {
      return command.run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const pq::cli::UsageError& e) {
      std::cerr << e.what() << "\nusage: " << command.usage << '\n';
      return pq::cli::kExitUsage;
    } catch (const pq::ConversionError& e) {
      std::cerr << e.what() << '\n';
      return pq::cli::kExitRefused;
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return pq::cli::kExitUnexpected;
    }
  }
  std::cerr << "unknown command " << name << '\n';
  printUsage();
  return pq::cli::kExitUsage;
}
