#include "records/RecordFileFormat.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pq::recordfile {

std::uint8_t bodyChecksum(const std::uint8_t* body) {
  unsigned sum = kChecksumSeed;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Every frame of a file passes through here: sum 16 bytes per step with PSADBW.
  __m128i wide = _mm_setzero_si128();
  for (; i + 16 <= kChecksum; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(body + i));
    wide = _mm_add_epi64(wide, _mm_sad_epu8(bytes, _mm_setzero_si128()));
  }
  sum += static_cast<unsigned>(_mm_cvtsi128_si32(wide)) +
         static_cast<unsigned>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(wide, wide)));
#endif
  for (; i < kChecksum; ++i) sum += body[i];
  return static_cast<std::uint8_t>(sum);
}

int nominalVoltageOfLevel(int code) {
  static constexpr int kLevels[] = {0, 6, 10, 35, 66, 110, 220};
  return code >= 1 && code <= 7 ? kLevels[code - 1] : -1;
}

}  // namespace pq::recordfile
