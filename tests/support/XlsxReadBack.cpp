#include "support/XlsxReadBack.h"

#include <sys/wait.h>

#include <cstdio>

namespace pq::test {

namespace {

std::optional<std::vector<std::string>> scriptLines(const char* script, const std::string& path) {
  // Debian's own interpreter, which has python3-openpyxl, whatever else is first on the PATH.
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

}  // namespace

std::optional<std::vector<std::string>> readBackWorkbook(const std::string& path) {
  return scriptLines(PQ_XLSX_DUMP, path);
}

std::optional<std::vector<std::string>> readBackSheetAsXls(const std::string& path) {
  return scriptLines(PQ_XLSX_SHEET_DUMP, path);
}

std::optional<std::vector<std::string>> readBackLayout(const std::string& path) {
  return scriptLines(PQ_XLSX_LAYOUT, path);
}

}  // namespace pq::test
