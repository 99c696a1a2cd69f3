#pragma once

#include <span>

#include "records/MeasurementRecord.h"

namespace pq {

// How an interval combines the one-second values of a quantity. Magnitudes (voltages, currents,
// sequence components, unbalance, harmonic amplitudes, contents and distortion) combine as root mean
// square, since their energy is what adds up; frequency, powers and power factors as the arithmetic
// mean, since they are signed or already averages.
enum class AggregationKind { Rms, Mean };

// Where a quantity's one-second value comes from: a cell, or a value derived from the record's cells
// (RecordQuantities.h). The frequency is its cell when that is a measurement (above 0 Hz); the
// unbalances are negative over positive sequence component, as GB/T 15543 defines them, rather than
// the instrument's own unbalance cells. These keep their cell as `at`, naming the quantity.
enum class QuantitySource {
  Cell,
  Frequency,
  VoltageUnbalance,
  CurrentUnbalance,
  HarmonicAmplitude,
  HarmonicContent,
  Thd,
  TotalActivePower,
  TotalReactivePower
};

// One aggregated quantity. `at` is the cell (Cell) or the channel (harmonic sources, Thd); `order`
// the harmonic order. `minCell`/`maxCell` are the record's own extreme cells of the quantity, -1 when
// the record has none and the interval's extremes are those of the values.
struct QuantityDescriptor {
  QuantitySource source;
  int at;
  int order;
  AggregationKind kind;
  int minCell = -1;
  int maxCell = -1;
};

// The quantities every interval holds, in this order:
//  - the cells of kAggregatedCells (phase voltages with their min/max cells, currents, sequence
//    components and unbalance of voltage and current, frequency, powers and power factors per phase);
//  - the three-phase total active and reactive power;
//  - per channel Ua..Ic: the fundamental's amplitude, the distortion (orders 2..64) and the contents in
//    % of orders 2..64, the items of the harmonic trend page;
//  - per current channel Ia..Ic: the harmonic currents of orders 2..25, the orders with allowed currents.
std::span<const QuantityDescriptor> aggregatedQuantities();

// Magnitudes first, the three with their own extreme cells leading, then the averaged cells, so that
// the aggregation's loops run over long stretches of one kind.
inline constexpr int kAggregatedCells[] = {
    cells::uaRms, cells::ubRms,     cells::ucRms,     cells::iaRms,      cells::ibRms,
    cells::icRms, cells::uZero,     cells::uPositive, cells::uNegative,  cells::uUnbalance,
    cells::iZero, cells::iPositive, cells::iNegative, cells::iUnbalance, cells::frequency,
    cells::pA,    cells::pB,        cells::pC,        cells::qA,         cells::qB,
    cells::qC,    cells::pfA,       cells::pfB,       cells::pfC,        cells::pfTotal};
inline constexpr int kCellQuantityCount = static_cast<int>(std::size(kAggregatedCells));
// The leading quantities with their own extreme cells (the phase voltages); no other has any.
inline constexpr int kOwnExtremeQuantities = 3;
inline constexpr int kLastContentOrder = 64;
inline constexpr int kLastCurrentAmplitudeOrder = 25;
inline constexpr int kPerChannelQuantities = 2 + (kLastContentOrder - 1);  // fundamental, THD, 2..64
inline constexpr int kCurrentAmplitudeOrders = kLastCurrentAmplitudeOrder - 1;

// The position of a quantity in aggregatedQuantities(); -1 for one that is not aggregated.
constexpr int cellQuantity(int cell) {
  for (int q = 0; q < kCellQuantityCount; ++q) {
    if (kAggregatedCells[q] == cell) return q;
  }
  return -1;
}
inline constexpr int kTotalActivePowerQuantity = kCellQuantityCount;
inline constexpr int kTotalReactivePowerQuantity = kCellQuantityCount + 1;
constexpr int fundamentalQuantity(int channel) {
  return kCellQuantityCount + 2 + channel * kPerChannelQuantities;
}
constexpr int thdQuantity(int channel) { return fundamentalQuantity(channel) + 1; }
constexpr int harmonicContentQuantity(int channel, int order) {
  return order >= 2 && order <= kLastContentOrder ? fundamentalQuantity(channel) + order : -1;
}
constexpr int harmonicCurrentQuantity(int channel, int order) {
  if (isVoltageChannel(channel) || order < 2 || order > kLastCurrentAmplitudeOrder) return -1;
  return fundamentalQuantity(kChannelCount) + (channel - Ia) * kCurrentAmplitudeOrders + order - 2;
}
inline constexpr int kAggregatedQuantityCount = harmonicCurrentQuantity(Ic, kLastCurrentAmplitudeOrder) + 1;

}  // namespace pq
