#pragma once

#include <string>
#include <vector>

namespace pq::cli {

// Runs one pqdesk-cli command line in-process: `args` are the arguments after the program name.
// Prints usage lines and messages to stderr as the executable does and returns its exit status;
// never exits the process.
int runCommandLine(const std::vector<std::string>& args);

}  // namespace pq::cli
