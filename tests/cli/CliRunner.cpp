#include "cli/CliRunner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace pq::test {

namespace {

std::string quoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

CliResult run(std::string command, const std::vector<std::string>& args, const std::string& input) {
  TempDir dir;
  std::ofstream(dir.file("in")) << input;
  command += quoted(PQDESK_CLI);
  // Appending piecewise: g++ 12 at -O3 warns falsely (-Wrestrict) about `command += " " + quoted(arg)`.
  for (const auto& arg : args) {
    command += ' ';
    command += quoted(arg);
  }
  command += " <" + quoted(dir.file("in")) + " >" + quoted(dir.file("out")) + " 2>" + quoted(dir.file("err"));
  const int raw = std::system(command.c_str());
  CliResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = slurp(dir.file("out"));
  result.err = slurp(dir.file("err"));
  return result;
}

}  // namespace

CliResult runCli(const std::vector<std::string>& args, const std::string& input) {
  return run("", args, input);
}

// The shell is dash, whose ulimit -f counts blocks of 512 bytes.
CliResult runCliWithFileSizeLimit(const std::vector<std::string>& args, long kilobytes) {
  return run("ulimit -f " + std::to_string(kilobytes * 2) + "; exec ", args, "");
}

}  // namespace pq::test
