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

// The same under a file size limit (ulimit -f), so that writing past it fails as on a full disk.
CliResult runCliWithFileSizeLimit(const std::vector<std::string>& args, long kilobytes);

}  // namespace pq::test
