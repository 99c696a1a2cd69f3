#include "support/ScriptReadBack.h"

#include <sys/wait.h>

#include <cstdio>

namespace pq::test {

std::optional<std::vector<std::string>> scriptLines(const char* script, const std::string& path) {
  const std::string command = std::string("/usr/bin/python3 '") + script + "' '" + path + "' 2>&1";
  std::vector<std::string> lines;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string line;
  for (int c; (c = std::fgetc(pipe)) != EOF;) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  const int status = ::pclose(pipe);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return std::nullopt;
  return lines;
}

}  // namespace pq::test
