#include "statistics/StatisticsEngine.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "records/RecordStore.h"
#include "statistics/DeviationBand.h"
#include "statistics/ReportLimits.h"

namespace pq {

namespace {

constexpr double kVoltageThreshold = 0.05;
constexpr double kCurrentThreshold = 0.001;
constexpr double kSequenceThreshold = 0.00005;
// 1/1.732 as the instrument's makers wrote it, not 1/sqrt(3).
constexpr double kThreeWirePhaseFactor = 0.5773672055;
constexpr double kUnbalanceLimit = 2;
constexpr double kFrequencyDeviationLimit = 0.2;
constexpr double kNominalFrequency = 50;

struct Sample {
  float value;
  bool passes;
};

// A cell above a threshold: the four-byte value widened to double, so that the float nearest to
// 0.05 counts as greater than 0.05.
bool above(float value, double threshold) { return static_cast<double>(value) > threshold; }

// The line voltage from two phase voltages 120 degrees apart; 0 below the voltage threshold of a.
float lineVoltage(float a, float b) {
  if (!above(a, kVoltageThreshold)) return 0;
  const double da = a, db = b;
  return static_cast<float>(std::sqrt(da * da + db * db + da * db));
}

struct PhaseCells {
  int rms, nextRms, max, min;
};

PhaseCells phaseCells(int phase) {
  static constexpr PhaseCells kCells[3] = {
      {cells::uaRms, cells::ubRms, cells::uaMax, cells::uaMin},
      {cells::ubRms, cells::ucRms, cells::ubMax, cells::ubMin},
      {cells::ucRms, cells::uaRms, cells::ucMax, cells::ucMin},
  };
  return kCells[phase];
}

}  // namespace

int rankOf95PercentValue(int sampleCount) {
  if (sampleCount < 20) return 0;
  // N x 5 x 0.01 rounded to a four-byte float and then up, which is ceil(N / 20) for every N a
  // store can hold.
  const float share = static_cast<float>(static_cast<double>(sampleCount) * 5 * 0.01);
  return static_cast<int>(std::ceil(share));
}

template <class ValueOf>
StatisticRecord StatisticsEngine::summarise(ValueOf valueOf, bool isSigned, bool hasTest,
                                            bool rankMagnitudes) {
  const int first = store_.rangeStart;
  const int count = store_.rangeEnd - store_.rangeStart;
  const int rank = rankOf95PercentValue(count);
  ranked_.resize(static_cast<std::size_t>(count));

  StatisticRecord result;
  float sum = 0;
  float passes = 0;
  float positiveExtreme = 0;
  float negativeExtreme = 0;
  for (int j = 0; j < count; ++j) {
    const Sample sample = valueOf(first + j);
    const float v = sample.value;
    if (isSigned) {
      if (j == 0) result.min = std::fabs(v);
      // A value forced to 0 by a threshold never moves an extreme, so the sign of a non-zero value
      // alone decides its side.
      if (v > positiveExtreme) positiveExtreme = v;
      if (v < negativeExtreme) negativeExtreme = v;
      if (std::fabs(v) < std::fabs(result.min)) result.min = v;
    } else {
      if (j == 0) result.max = result.min = v;
      if (!(result.max >= v)) result.max = v;
      if (result.min > v) result.min = v;
    }
    sum += v;
    if (hasTest && sample.passes) passes += 1;
    ranked_[static_cast<std::size_t>(j)] = rankMagnitudes ? std::fabs(v) : v;
  }

  const double n = static_cast<float>(count);
  result.avg = static_cast<float>(sum / n);
  if (hasTest) result.passRate = static_cast<float>(passes / n * 100);
  if (isSigned) result.max = std::fabs(negativeExtreme) > positiveExtreme ? negativeExtreme : positiveExtreme;
  if (rank >= 1) {
    // The rank-th largest value, duplicates counted. Not-a-number values rank below every number.
    const auto numbersEnd =
        std::partition(ranked_.begin(), ranked_.end(), [](float x) { return !std::isnan(x); });
    if (numbersEnd - ranked_.begin() >= rank) {
      const auto nth = ranked_.begin() + (rank - 1);
      std::nth_element(ranked_.begin(), nth, numbersEnd, std::greater<float>());
      result.p95 = *nth;
    }
  }
  return result;
}

StatisticRecord StatisticsEngine::computeStatistic(StatisticIndex index, int reportPhase, int order) {
  const bool voltageReport = reportPhase < 3;
  const int phase = reportPhase % 3;
  const int channel = voltageReport ? phase : phase + 3;
  const PhaseCells phaseCell = phaseCells(phase);
  const RecordStore& s = store_;
  const float nominal = static_cast<float>(s.nominalVoltage);
  const ReportLimits& limits = limits_;
  auto wiring = [&s](int i) { return s.record(i).integer(cells::wiringMode); };
  auto fundamental = [&s, channel](int i) { return s.record(i).harmonic(channel, 1); };

  switch (index) {
    case StatisticIndex::Fundamental:
      if (!voltageReport) {
        return summarise(
            [&](int i) {
              const float f = fundamental(i);
              return Sample{above(f, kCurrentThreshold) ? f : 0.0f, false};
            },
            false, false, false);
      }
      return summarise(
          [&](int i) {
            const float f = fundamental(i);
            const float v = wiring(i) == 1 ? f : static_cast<float>(f * kThreeWirePhaseFactor);
            return Sample{above(v, kVoltageThreshold) ? v : 0.0f, false};
          },
          false, false, false);

    case StatisticIndex::LineFundamental:
      return summarise(
          [&](int i) {
            const auto& r = s.record(i);
            if (wiring(i) == 1)
              return Sample{lineVoltage(r.value(phaseCell.rms), r.value(phaseCell.nextRms)), false};
            const float f = fundamental(i);
            return Sample{above(f, kVoltageThreshold) ? f : 0.0f, false};
          },
          false, false, false);

    case StatisticIndex::Harmonic:
      if (!voltageReport) {
        const double limit = limits.harmonicCurrentLimit[order];
        return summarise(
            [&](int i) {
              const float v = s.record(i).harmonic(channel, order);
              return Sample{v, v <= limit};
            },
            false, true, false);
      }
      {
        const double limit = limits.harmonicVoltageLimit(order);
        return summarise(
            [&](int i) {
              const auto v = static_cast<float>(s.harmonicPercent(i, channel, order));
              return Sample{v, v <= limit};
            },
            false, true, false);
      }

    case StatisticIndex::Thd: {
      const double limit = limits.thdLimit;
      return summarise(
          [&](int i) {
            const auto v = static_cast<float>(s.thd(i, channel));
            return Sample{v, v <= limit};
          },
          false, voltageReport, false);
    }

    case StatisticIndex::Deviation: {
      limits_.chooseDeviationText(nominal);
      const DeviationBand band(nominal);
      // Records of an unknown wiring mode carry over the voltages of the record before them.
      float u = 0;
      float un = 0;
      return summarise(
          [&](int i) {
            const auto& r = s.record(i);
            const int mode = wiring(i);
            if (mode == 1) {
              u = lineVoltage(r.value(phaseCell.rms), r.value(phaseCell.nextRms));
              un = nominal;
            } else if (mode == 3) {
              u = r.value(phaseCell.rms);
              un = nominal;
            }
            const double difference = static_cast<double>(u) - un;
            const float v = above(u, kVoltageThreshold) && above(un, kVoltageThreshold)
                                ? static_cast<float>(difference / un * 100)
                                : 0.0f;
            return Sample{v, band.passes(difference, v)};
          },
          true, true, true);
    }

    case StatisticIndex::Unbalance:
      return summarise(
          [&](int i) {
            const auto& r = s.record(i);
            const float negative = r.value(cells::uNegative);
            const float positive = r.value(cells::uPositive);
            const float v = above(negative, kSequenceThreshold) && above(positive, kSequenceThreshold)
                                ? static_cast<float>(static_cast<double>(negative) / positive * 100)
                                : 0.0f;
            return Sample{v, v <= kUnbalanceLimit};
          },
          false, true, false);

    case StatisticIndex::Fluctuation:
      return summarise(
          [&](int i) {
            const auto& r = s.record(i);
            const float high = r.value(phaseCell.max);
            const float low = r.value(phaseCell.min);
            const bool measured = above(high, kVoltageThreshold) && above(low, kVoltageThreshold) &&
                                  above(nominal, kVoltageThreshold);
            const float v =
                measured ? static_cast<float>((static_cast<double>(high) - low) / nominal * 100) : 0.0f;
            return Sample{v, false};
          },
          true, false, false);

    case StatisticIndex::FrequencyDeviation:
      return summarise(
          [&](int i) {
            const auto v = static_cast<float>(static_cast<double>(s.record(i).value(cells::frequency)) -
                                              kNominalFrequency);
            return Sample{v, std::fabs(static_cast<double>(v)) <= kFrequencyDeviationLimit};
          },
          true, true, false);
  }
  return {};
}

}  // namespace pq
