#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::app {

inline constexpr char kStartUsage[] =
    "usage: pqdesk [FILE.bin | FILE.QRP | FILE.bin FILE.bin... | FOLDER]\n"
    "       pqdesk --help | --version\n";

// What pqdesk's command line asks for. `args` are the arguments after the program name that Qt left
// (QApplication takes out its own, such as -platform).
struct StartOptions {
  enum class Answer { Run, Help, Version, Wrong };
  Answer answer = Answer::Run;
  // Run: opened after the login; one file as itself, two or more record files as one survey.
  std::vector<std::string> files;
  std::string error;  // Wrong: what is wrong, for stderr with the usage
};

StartOptions parseStartOptions(const std::vector<std::string>& args);

// Whether the file is a report file, by its ".QRP" ending in any case; any other file is taken for
// a record file, whose import says what is wrong with it.
bool namesReportFile(const std::string& path);

// The text of --help and of --version.
std::string startHelpText();
std::string startVersionText();

}  // namespace pq::app
