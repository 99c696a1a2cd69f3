#pragma once

#include <string>
#include <vector>

namespace pq::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs pqdesk-cli with the arguments and stdin text given, capturing both output streams.
CliResult runCli(const std::vector<std::string>& args, const std::string& input = "");

}  // namespace pq::test
