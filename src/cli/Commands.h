#pragma once

#include <string>
#include <vector>

namespace pq::cli {

// One function per command; each gets the arguments after the command name and returns the exit
// status. A UsageError thrown by one is answered with its usage line.
struct Command {
  const char* name;
  const char* usage;
  int (*run)(const std::vector<std::string>& args);
};

int runInfo(const std::vector<std::string>& args);
int runDump(const std::vector<std::string>& args);
int runDelete(const std::vector<std::string>& args);
int runGenerate(const std::vector<std::string>& args);
int runReport(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runUsers(const std::vector<std::string>& args);
int runAssess(const std::vector<std::string>& args);
int runEvents(const std::vector<std::string>& args);
int runSurvey(const std::vector<std::string>& args);
int runArchive(const std::vector<std::string>& args);

}  // namespace pq::cli
