#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pq::test {

// Builds record file bytes by hand, independently of the program's writer, so that tests can place
// garbage, broken checksums and cut frames exactly where they want them.
class RecordFileBytes {
 public:
  // A 64-byte head with the given names (raw bytes, at most 10), level code and ratios.
  RecordFileBytes& head(const std::string& station = "ST", const std::string& point = "PT",
                        std::uint8_t level = 3, float pt = 1.0f, float ct = 1.0f);
  // A frame whose body has the time bytes, wiring mode 1, and `marker` in Ua's RMS float (body
  // offset 42) and fundamental; the checksum is right unless `breakChecksum`.
  RecordFileBytes& frame(float marker, bool breakChecksum = false);
  // A frame from a complete body (1847 bytes, checksum byte included as given).
  RecordFileBytes& rawFrame(const std::vector<std::uint8_t>& body);
  RecordFileBytes& bytes(const std::vector<std::uint8_t>& raw);

  static std::vector<std::uint8_t> body(float marker);
  static std::uint8_t checksum(const std::vector<std::uint8_t>& body);
  static void putFloat(std::vector<std::uint8_t>& out, std::size_t offset, float value);

  const std::vector<std::uint8_t>& data() const { return data_; }
  void save(const std::string& path) const;

 private:
  std::vector<std::uint8_t> data_;
};

}  // namespace pq::test
