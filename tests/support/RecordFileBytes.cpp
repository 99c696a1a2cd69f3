#include "support/RecordFileBytes.h"

#include <cstring>

#include "support/TempDir.h"

namespace pq::test {

void RecordFileBytes::putFloat(std::vector<std::uint8_t>& out, std::size_t offset, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, 4);
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::uint8_t RecordFileBytes::checksum(const std::vector<std::uint8_t>& body) {
  unsigned sum = 113;
  for (std::size_t i = 0; i < 1846; ++i) sum += body[i];
  return static_cast<std::uint8_t>(sum & 0xFF);
}

RecordFileBytes& RecordFileBytes::head(const std::string& station, const std::string& point,
                                       std::uint8_t level, float pt, float ct) {
  std::vector<std::uint8_t> h(64, 0);
  std::memcpy(&h[6], station.data(), std::min<std::size_t>(station.size(), 10));
  std::memcpy(&h[16], point.data(), std::min<std::size_t>(point.size(), 10));
  h[26] = level;
  putFloat(h, 30, 100.0f);
  putFloat(h, 34, 120.0f);
  putFloat(h, 38, 120.0f);
  putFloat(h, 42, pt);
  putFloat(h, 46, ct);
  data_.insert(data_.end(), h.begin(), h.end());
  return *this;
}

std::vector<std::uint8_t> RecordFileBytes::body(float marker) {
  std::vector<std::uint8_t> b(1847, 0);
  const std::uint8_t time[6] = {0x10, 0x04, 0x19, 0x15, 0x39, 0x00};
  std::memcpy(b.data(), time, 6);
  b[6] = 1;
  putFloat(b, 26 + 4 * (15 - 11), marker);  // uaRms
  putFloat(b, 286, marker);                 // Ua fundamental
  b[1846] = checksum(b);
  return b;
}

RecordFileBytes& RecordFileBytes::frame(float marker, bool breakChecksum) {
  auto b = body(marker);
  if (breakChecksum) b[1846] = static_cast<std::uint8_t>(b[1846] + 1);
  return rawFrame(b);
}

RecordFileBytes& RecordFileBytes::rawFrame(const std::vector<std::uint8_t>& b) {
  const std::uint8_t sync[6] = {0xEB, 0x90, 0xEB, 0x90, 0xEB, 0x90};
  data_.insert(data_.end(), sync, sync + 6);
  data_.insert(data_.end(), b.begin(), b.end());
  return *this;
}

RecordFileBytes& RecordFileBytes::bytes(const std::vector<std::uint8_t>& raw) {
  data_.insert(data_.end(), raw.begin(), raw.end());
  return *this;
}

void RecordFileBytes::save(const std::string& path) const { writeBytes(path, data_); }

}  // namespace pq::test
