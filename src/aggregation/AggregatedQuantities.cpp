#include "aggregation/AggregatedQuantities.h"

#include <array>

namespace pq {

namespace {

constexpr AggregationKind cellKind(int cell) {
  const bool mean = cell == cells::frequency || (cell >= cells::pA && cell <= cells::pC) ||
                    (cell >= cells::qA && cell <= cells::qC) ||
                    (cell >= cells::pfA && cell <= cells::pfTotal);
  return mean ? AggregationKind::Mean : AggregationKind::Rms;
}

constexpr QuantitySource cellSource(int cell) {
  switch (cell) {
    case cells::frequency:
      return QuantitySource::Frequency;
    case cells::uUnbalance:
      return QuantitySource::VoltageUnbalance;
    case cells::iUnbalance:
      return QuantitySource::CurrentUnbalance;
    default:
      return QuantitySource::Cell;
  }
}

constexpr std::array<QuantityDescriptor, kAggregatedQuantityCount> buildTable() {
  std::array<QuantityDescriptor, kAggregatedQuantityCount> table{};
  int q = 0;
  for (const int cell : kAggregatedCells) {
    QuantityDescriptor& d = table[q++];
    d = {cellSource(cell), cell, 0, cellKind(cell)};
    // Each phase voltage's RMS cell is followed by its max and min cells.
    if (cell == cells::uaRms || cell == cells::ubRms || cell == cells::ucRms) {
      d.maxCell = cell + 1;
      d.minCell = cell + 2;
    }
  }
  table[q++] = {QuantitySource::TotalActivePower, 0, 0, AggregationKind::Mean};
  table[q++] = {QuantitySource::TotalReactivePower, 0, 0, AggregationKind::Mean};
  for (int channel = 0; channel < kChannelCount; ++channel) {
    table[q++] = {QuantitySource::HarmonicAmplitude, channel, 1, AggregationKind::Rms};
    table[q++] = {QuantitySource::Thd, channel, 0, AggregationKind::Rms};
    for (int order = 2; order <= kLastContentOrder; ++order) {
      table[q++] = {QuantitySource::HarmonicContent, channel, order, AggregationKind::Rms};
    }
  }
  for (int channel = Ia; channel <= Ic; ++channel) {
    for (int order = 2; order <= kLastCurrentAmplitudeOrder; ++order) {
      table[q++] = {QuantitySource::HarmonicAmplitude, channel, order, AggregationKind::Rms};
    }
  }
  return table;
}

constexpr auto kTable = buildTable();

static_assert(kTable[cellQuantity(cells::ubRms)].minCell == cells::ubMin);
constexpr bool ownExtremesLead() {
  for (int q = 0; q < kAggregatedQuantityCount; ++q) {
    if ((kTable[q].minCell >= 0) != (q < kOwnExtremeQuantities)) return false;
  }
  return true;
}
static_assert(ownExtremesLead());
static_assert(kTable[thdQuantity(Uc)].source == QuantitySource::Thd && kTable[thdQuantity(Uc)].at == Uc);
static_assert(kTable[harmonicContentQuantity(Ic, 64)].order == 64 &&
              kTable[harmonicContentQuantity(Ic, 64)].at == Ic);
static_assert(kTable[harmonicCurrentQuantity(Ib, 7)].source == QuantitySource::HarmonicAmplitude &&
              kTable[harmonicCurrentQuantity(Ib, 7)].at == Ib &&
              kTable[harmonicCurrentQuantity(Ib, 7)].order == 7);

}  // namespace

std::span<const QuantityDescriptor> aggregatedQuantities() { return kTable; }

}  // namespace pq
