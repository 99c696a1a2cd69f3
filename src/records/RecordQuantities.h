#pragma once

#include <array>
#include <cmath>
#include <limits>

#include "records/MeasurementRecord.h"

namespace pq {

// Quantities derived from one record alone, for code that holds a record rather than a store index
// (the assessment keeps copies of the records of a voltage event until it knows what the event is).
// Inline, since a report or an aggregation computes them for every record in loops a call would dominate.
namespace recordquantities {

inline constexpr int kLastThdOrder = 64;

inline double distortion(double sumOfSquares, double fundamental) {
  if (fundamental > 0.001 && sumOfSquares > 0.0) return std::sqrt(sumOfSquares) / fundamental * 100.0;
  return 0.0;
}

}  // namespace recordquantities

inline float totalActivePower(const MeasurementRecord& r) {
  return r.value(cells::pA) + r.value(cells::pB) + r.value(cells::pC);
}
inline float totalReactivePower(const MeasurementRecord& r) {
  return r.value(cells::qA) + r.value(cells::qB) + r.value(cells::qC);
}

// Whether harmonics relate to the channel's fundamental: it is above 0.05 (voltage channels) or
// 0.001 (current channels).
inline bool hasFundamental(const MeasurementRecord& r, int channel) {
  return r.harmonic(channel, 1) > (isVoltageChannel(channel) ? 0.05 : 0.001);
}

// Total harmonic distortion over orders 2..64 in percent of the fundamental.
inline double thdOf(const MeasurementRecord& r, int channel) {
  double sumOfSquares = 0.0;
  for (int order = 2; order <= recordquantities::kLastThdOrder; ++order) {
    const double h = r.harmonic(channel, order);
    sumOfSquares += h * h;
  }
  return recordquantities::distortion(sumOfSquares, r.harmonic(channel, 1));
}

// thdOf() of every channel, the same values. The squares of each channel are added in the same
// order, but the six sums side by side: one after another, each waits for every addition before,
// and the aggregation of a day spent a fifth of its time on that.
inline std::array<double, kChannelCount> thdOfChannels(const MeasurementRecord& r) {
  std::array<double, kChannelCount> sumOfSquares{};
  for (int order = 2; order <= recordquantities::kLastThdOrder; ++order) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
      const double h = r.harmonic(channel, order);
      sumOfSquares[channel] += h * h;
    }
  }
  std::array<double, kChannelCount> thds{};
  for (int channel = 0; channel < kChannelCount; ++channel) {
    thds[channel] = recordquantities::distortion(sumOfSquares[channel], r.harmonic(channel, 1));
  }
  return thds;
}

// Negative- over positive-sequence component in %, the unbalance as GB/T 15543 defines it; not a
// number when the positive component is not above zero or either is no finite number.
inline double sequenceUnbalance(const MeasurementRecord& r, int negativeCell, int positiveCell) {
  const double negative = r.value(negativeCell);
  const double positive = r.value(positiveCell);
  if (!(positive > 0) || !std::isfinite(positive) || !std::isfinite(negative))
    return std::numeric_limits<double>::quiet_NaN();
  return negative / positive * 100.0;
}

// The record's frequency when it is a measurement: a frequency of 0 Hz or below (the instrument's
// "not measured", which the import also makes of a value that is no number) is none.
inline double measuredFrequency(const MeasurementRecord& r) {
  const double f = r.value(cells::frequency);
  return f > 0 && std::isfinite(f) ? f : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace pq
