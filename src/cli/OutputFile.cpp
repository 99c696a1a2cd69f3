#include "cli/OutputFile.h"

#include <iostream>

#include "base/AtomicFile.h"

namespace pq::cli {

bool writeOutputFile(const std::string& path, const std::string& content) {
  AtomicFile file(path);
  if (file.open() && file.write(content.data(), content.size()) && file.commit()) return true;
  std::cerr << path << ": " << file.error() << '\n';
  return false;
}

}  // namespace pq::cli
