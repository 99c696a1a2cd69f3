#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "base/ExecutableFolder.h"
#include "base/SystemErrorText.h"
#include "cli/RendererHandOver.h"

namespace pq::cli {

void handOverToRenderer(const std::string& command, const std::vector<std::string>& args) {
  const std::string twin = (executableFolder() / "pqdesk-cli-render").string();
  std::vector<std::string> words{twin, command};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  ::execv(twin.c_str(), argv.data());
  throw std::runtime_error(twin + ": " + systemErrorText(errno));
}

}  // namespace pq::cli
