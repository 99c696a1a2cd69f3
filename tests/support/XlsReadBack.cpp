#include "support/XlsReadBack.h"

#include <cstdio>

namespace pq::test {

std::vector<std::string> readBack(const std::string& path) {
  // Debian's own interpreter, which has python3-xlrd, whatever else is first on the PATH.
  const std::string command = std::string("/usr/bin/python3 '") + PQ_XLS_DUMP + "' '" + path + "' 2>&1";
  std::vector<std::string> lines;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string line;
  for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (pipe != nullptr) ::pclose(pipe);
  return lines;
}

}  // namespace pq::test
