#include "app/StartOptions.h"

#include <cctype>
#include <string_view>

#include "base/ApplicationTitle.h"

namespace pq::app {

StartOptions parseStartOptions(const std::vector<std::string>& args) {
  StartOptions options;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--") {
        optionsEnded = true;
        continue;
      }
      if (arg == "--help" || arg == "-h") return {StartOptions::Answer::Help, {}, {}};
      if (arg == "--version") return {StartOptions::Answer::Version, {}, {}};
      return {StartOptions::Answer::Wrong, {}, "unknown option " + arg};
    }
    options.files.push_back(arg);
  }
  if (options.files.size() > 1) {
    for (const std::string& file : options.files) {
      if (namesReportFile(file))
        return {StartOptions::Answer::Wrong, {}, "a report file opens alone: " + file};
    }
  }
  return options;
}

bool namesReportFile(const std::string& path) {
  constexpr std::string_view ending = ".qrp";
  if (path.size() < ending.size()) return false;
  for (std::size_t i = 0; i < ending.size(); ++i) {
    const char c = path[path.size() - ending.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != ending[i]) return false;
  }
  return true;
}

std::string startHelpText() {
  return std::string(kStartUsage) +
         "\n"
         "PQ Desk (" +
         kApplicationTitle +
         "): imports the power-quality analyser's record files, shows and prints their reports.\n"
         "The program starts at its login window. A record file (*.bin) named on the command line is\n"
         "imported after the login, in the import window; a report file (*.QRP) is opened in the report\n"
         "viewer. Two or more record files, or a folder of them, are opened as one survey (the days of\n"
         "one recording) in the survey window.\n"
         "\n"
         "  --help     show this text and exit\n"
         "  --version  show the version and exit\n"
         "\n"
         "The users are kept in Pass.mdb beside the program; pqdesk-cli users manages them.\n";
}

std::string startVersionText() { return std::string("pqdesk ") + kVersion + "\n"; }

}  // namespace pq::app
