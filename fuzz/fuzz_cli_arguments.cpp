// pqdesk-cli's command line, run in-process: the first input byte picks the command, the rest are
// the arguments after the file, separated by zero bytes. The commands run in a private folder on a
// small record file written afresh for every input; a '/' in an argument becomes '_', so outputs
// stay in that folder, and a file size limit keeps a large `generate` from filling the disk (the
// write then fails as on a full disk).
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "cli/Dispatcher.h"
#include "records/RecordFileGenerator.h"

namespace {

using namespace pq;

constexpr const char* kRecordFile = "input.bin";
constexpr rlim_t kFileSizeLimit = 4u << 20;

struct Sandbox {
  fuzz::FuzzFolder folder;
  std::vector<char> recordBytes;

  Sandbox() {
    GeneratorOptions options;
    options.records = 25;
    options.substationName = "\xB1\xE4\xB5\xE7\xCB\xF9";  // GBK
    std::string error;
    const std::string path = folder.path(kRecordFile);
    if (!generateRecordFile(path, options, error)) {
      std::cerr << error << '\n';
      std::abort();
    }
    std::ifstream in(path, std::ios::binary);
    recordBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (::chdir(folder.folder().c_str()) != 0) std::abort();
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }

  // Leaves only a fresh record file in the folder.
  void reset() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder.folder())) {
      std::error_code error;
      std::filesystem::remove_all(entry.path(), error);
    }
    fuzz::writeWholeFile(folder.path(kRecordFile), reinterpret_cast<const std::uint8_t*>(recordBytes.data()),
                         recordBytes.size());
  }
};

std::vector<std::string> commandLine(const std::uint8_t* data, std::size_t size) {
  static const char* const kCommands[] = {"info", "dump", "delete", "report", "generate", "users"};
  std::vector<std::string> args{kCommands[data[0] % std::size(kCommands)]};
  if (args[0] == "users") {
    args.push_back("--db");
    args.push_back("Pass.mdb");
  } else {
    args.push_back(kRecordFile);
  }
  std::string current;
  for (std::size_t i = 1; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(c == '/' ? '_' : c);
    }
  }
  if (size > 1) args.push_back(current);
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Sandbox sandbox;
  if (size == 0) return 0;
  sandbox.reset();
  const std::vector<std::string> args = commandLine(data, size);

  std::ostringstream sink;
  std::istringstream password("secret-1\n");
  auto* const out = std::cout.rdbuf(sink.rdbuf());
  auto* const err = std::cerr.rdbuf(sink.rdbuf());
  auto* const in = std::cin.rdbuf(password.rdbuf());
  const int status = cli::runCommandLine(args);
  std::cout.rdbuf(out);
  std::cerr.rdbuf(err);
  std::cin.rdbuf(in);
  // An exception nobody expected ends as status 1; every other outcome is a planned answer.
  if (status == 1) {
    std::cerr << sink.str();
    std::abort();
  }
  return 0;
}
