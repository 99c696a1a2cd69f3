#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "export/ParallelDeflate.h"

namespace pq {

// A ZIP archive written front to back into a file, entry after entry, each deflated as its bytes
// come (export/ParallelDeflate), so that an entry of any size takes no more memory than a few
// chunks. The sizes and CRC of an entry follow its data (a data descriptor) and are repeated in the
// central directory at the end; ZIP64 fields appear where an entry, an offset or the directory
// passes what 32 bits hold.
//
// Every call after a failed write returns false; the file's error() says why (AtomicFile drops the
// temporary file on its first failure).
class ZipArchive {
 public:
  explicit ZipArchive(AtomicFile& file);

  // Starts an entry. Its first `heldBack` bytes (at most 65 535) are left open for endEntry() to
  // fill: a text known only when the rest is written, such as the size of a sheet at its top.
  bool beginEntry(std::string name, std::size_t heldBack = 0);
  bool write(std::string_view data);
  // `heldBackText` is exactly as long as beginEntry() said.
  bool endEntry(std::string_view heldBackText = {});
  // Writes the central directory; the archive is then complete.
  bool finish();

 private:
  struct Entry {
    std::string name;
    std::uint64_t headerOffset = 0;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
  };

  bool put(const std::vector<std::uint8_t>& bytes);
  bool put(const void* data, std::size_t size);

  AtomicFile& file_;
  bool ok_ = true;
  std::uint64_t offset_ = 0;
  std::vector<Entry> entries_;
  std::optional<ParallelDeflate> deflate_;  // of the open entry
  std::size_t heldBack_ = 0;
  std::uint64_t heldBackOffset_ = 0;
};

}  // namespace pq
