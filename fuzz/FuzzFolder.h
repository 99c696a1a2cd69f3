#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pq::fuzz {

// A private folder for the files one fuzzing process writes, removed when the process ends. On
// tmpfs when there is one, since every save syncs its file.
class FuzzFolder {
 public:
  FuzzFolder();
  ~FuzzFolder();
  FuzzFolder(const FuzzFolder&) = delete;
  FuzzFolder& operator=(const FuzzFolder&) = delete;

  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// Writes the bytes as the whole file at `path`; aborts when it cannot, since the run would be void.
void writeWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace pq::fuzz
