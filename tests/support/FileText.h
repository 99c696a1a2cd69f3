#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace pq::test {

// The whole content of a file; empty when it cannot be read.
inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a shell command writes on its standard output.
inline std::string commandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

// The text layer of a PDF as pdftotext lays it out.
inline std::string pdfText(const std::string& pdf) {
  return commandOutput("pdftotext -layout '" + pdf + "' -");
}

}  // namespace pq::test
