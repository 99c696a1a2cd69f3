#include "records/RecordFileFormat.h"

namespace pq::recordfile {

std::uint8_t bodyChecksum(const std::uint8_t* body) {
  unsigned sum = kChecksumSeed;
  for (std::size_t i = 0; i < kChecksum; ++i) sum += body[i];
  return static_cast<std::uint8_t>(sum);
}

int nominalVoltageOfLevel(int code) {
  static constexpr int kLevels[] = {0, 6, 10, 35, 66, 110, 220};
  return code >= 1 && code <= 7 ? kLevels[code - 1] : -1;
}

}  // namespace pq::recordfile
