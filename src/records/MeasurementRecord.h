#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace pq {

// The six measured channels, in the order of the harmonic blocks.
enum Channel : int { Ua = 0, Ub = 1, Uc = 2, Ia = 3, Ib = 4, Ic = 5 };
inline constexpr int kChannelCount = 6;
inline constexpr int kHarmonicOrders = 65;  // orders 1..65; order 1 is the fundamental

inline constexpr bool isVoltageChannel(int channel) { return channel < Ia; }
// The names the operator reads for the channels, in channel order.
inline constexpr const char* kChannelNames[kChannelCount] = {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"};

// Cell indexes of a measurement record. Cells 0..10 and 472 hold integers, every other cell a
// four-byte float.
namespace cells {
inline constexpr int timeBcd = 0;  // six cells: year within the century, month, day, h, min, s
inline constexpr int wiringMode = 6;
inline constexpr int instrumentId = 7;  // four cells, stored and written back, never interpreted
inline constexpr int spare = 14;
inline constexpr int uaRms = 15, uaMax = 16, uaMin = 17;
inline constexpr int ubRms = 18, ubMax = 19, ubMin = 20;
inline constexpr int ucRms = 21, ucMax = 22, ucMin = 23;
inline constexpr int iaRms = 24, ibRms = 25, icRms = 26;
inline constexpr int pA = 27, pB = 28, pC = 29;
inline constexpr int angleUaUb = 30, angleUaUc = 31, angleUaIa = 32, angleUaIb = 33, angleUaIc = 34,
                     angleUbIb = 35, angleUcIc = 36;
inline constexpr int frequency = 37;
inline constexpr int uZero = 38, uPositive = 39, uNegative = 40, uUnbalance = 41;
inline constexpr int iZero = 42, iPositive = 43, iNegative = 44, iUnbalance = 45;
inline constexpr int qA = 46, qB = 47, qC = 48;
inline constexpr int pfA = 49, pfB = 50, pfC = 51, pfTotal = 52;
inline constexpr int sequenceNumber = 472;

inline constexpr int harmonic(int channel, int order) { return 76 + 66 * channel + order; }
}  // namespace cells

// One instrument record: 473 cells of four bytes (1892 bytes), trivially copyable so that the store
// can move records as plain memory.
struct MeasurementRecord {
  static constexpr int kCellCount = 473;

  std::array<std::uint32_t, kCellCount> cells;

  float value(int cell) const { return std::bit_cast<float>(cells[cell]); }
  void setValue(int cell, float v) { cells[cell] = std::bit_cast<std::uint32_t>(v); }
  std::int32_t integer(int cell) const { return static_cast<std::int32_t>(cells[cell]); }
  void setInteger(int cell, std::int32_t v) { cells[cell] = static_cast<std::uint32_t>(v); }

  float harmonic(int channel, int order) const { return value(cells::harmonic(channel, order)); }
};

static_assert(sizeof(MeasurementRecord) == 1892);

// Asks for the cache lines of the measured cells of a record that a loop will read soon: the record
// stride crosses a page every two records, where the processor's own prefetching stops, and the
// aggregation reads six places of a record at once.
inline void prefetchMeasuredCells(const MeasurementRecord& record) {
  const auto* bytes = reinterpret_cast<const char*>(record.cells.data());
  constexpr int kLine = 64;
  for (int offset = 4 * cells::uaRms; offset < 4 * cells::harmonic(kChannelCount, 0); offset += kLine) {
    __builtin_prefetch(bytes + offset);
  }
}

}  // namespace pq
