#pragma once

#include <cstdint>
#include <vector>

namespace pq {

// Appends little-endian integers to a byte buffer, for the file formats written byte by byte.
class ByteWriter {
 public:
  void u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
  void u16(unsigned v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void u32(std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  }
  void u64(std::uint64_t v) {
    u32(static_cast<std::uint32_t>(v));
    u32(static_cast<std::uint32_t>(v >> 32));
  }

  std::vector<std::uint8_t> data;
};

}  // namespace pq
