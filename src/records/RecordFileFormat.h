#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pq::recordfile {

// Layout of the instrument's raw record file (".bin"): a 64-byte head, then frames of six sync
// bytes and a 1847-byte body whose last byte is an 8-bit sum.
inline constexpr std::size_t kHeadSize = 64;
inline constexpr std::array<std::uint8_t, 6> kSync{0xEB, 0x90, 0xEB, 0x90, 0xEB, 0x90};
inline constexpr std::size_t kBodySize = 1847;
inline constexpr std::size_t kFrameSize = kSync.size() + kBodySize;  // 1853
inline constexpr std::uint8_t kChecksumSeed = 113;

// Head offsets.
inline constexpr std::size_t kSubstationName = 6;
inline constexpr std::size_t kMeasuringPointName = 16;
inline constexpr std::size_t kNameSize = 10;
inline constexpr std::size_t kVoltageLevelCode = 26;
inline constexpr std::size_t kMinShortCircuitCapacity = 30;
inline constexpr std::size_t kSupplyEquipmentCapacity = 34;
inline constexpr std::size_t kAgreedCapacity = 38;
inline constexpr std::size_t kPtRatio = 42;
inline constexpr std::size_t kCtRatio = 46;

// Body offsets.
inline constexpr std::size_t kByteCells = 11;   // cells 0..10, one byte each
inline constexpr std::size_t kValueBlock = 26;  // floats of cells 11..75
inline constexpr int kFirstValueCell = 11;
inline constexpr int kLastValueCell = 75;
inline constexpr int kFirstImportedCell = 14;  // the import reads cells 14..52 of that block
inline constexpr int kLastImportedCell = 52;
inline constexpr std::size_t kHarmonicBlocks = 286;  // 260 bytes per channel, orders 1..65
inline constexpr std::size_t kHarmonicBlockSize = 260;
inline constexpr std::size_t kChecksum = 1846;

inline constexpr std::size_t valueOffset(int cell) { return kValueBlock + 4 * (cell - kFirstValueCell); }
inline constexpr std::size_t harmonicOffset(int channel, int order) {
  return kHarmonicBlocks + kHarmonicBlockSize * channel + 4 * (order - 1);
}

// (113 + sum of body bytes 0..1845) mod 256.
std::uint8_t bodyChecksum(const std::uint8_t* body);

// Nominal voltage in kV of a voltage level code 1..7; -1 for any other code.
int nominalVoltageOfLevel(int code);

}  // namespace pq::recordfile
