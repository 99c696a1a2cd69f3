#include "base/ExecutableFolder.h"

namespace pq {

std::filesystem::path executableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : executable.parent_path();
}

}  // namespace pq
