#pragma once

#include <bit>
#include <cstdint>

namespace pq {

// The instrument's byte encodings, shared by record files and live frames.

// Four-byte IEEE single, least significant byte first. Zero, subnormal, infinite and not-a-number
// patterns read as 0 so that nothing downstream ever sees them from the instrument.
inline float decodeFloat(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  const std::uint32_t bits =
      std::uint32_t{b0} | std::uint32_t{b1} << 8 | std::uint32_t{b2} << 16 | std::uint32_t{b3} << 24;
  // Without a branch, so that a loop over many values can decode several at once.
  const std::uint32_t exponent = bits & 0x7F800000u;
  const bool special = exponent == 0 || exponent == 0x7F800000u;
  return std::bit_cast<float>(special ? 0u : bits);
}

inline float decodeFloat(const std::uint8_t* bytes) {
  return decodeFloat(bytes[0], bytes[1], bytes[2], bytes[3]);
}

// The value's four bytes unchanged, least significant first.
inline void encodeFloat(float value, std::uint8_t* out) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  out[0] = static_cast<std::uint8_t>(bits);
  out[1] = static_cast<std::uint8_t>(bits >> 8);
  out[2] = static_cast<std::uint8_t>(bits >> 16);
  out[3] = static_cast<std::uint8_t>(bits >> 24);
}

// Signed 16-bit waveform sample, low byte first, in units of 1/328.
inline float decodeSample(std::uint8_t lo, std::uint8_t hi) {
  const auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(hi << 8 | lo));
  return static_cast<float>(static_cast<long double>(v) / 328.0L);
}

// A BCD byte read as the decimal number its two hexadecimal digits spell (0x59 gives 59); -1 when a
// digit is above 9, as "1A" is no decimal number. Callers treat -1 as a time that does not convert.
inline int decodeBcd(std::uint8_t byte) {
  const int high = byte >> 4;
  const int low = byte & 0x0F;
  if (high > 9 || low > 9) return -1;
  return high * 10 + low;
}

}  // namespace pq
