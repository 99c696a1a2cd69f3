#include "statistics/IndexSampler.h"

#include <cmath>
#include <stdexcept>

#include "records/RecordStore.h"
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

// A value above a threshold: the four-byte value widened to double, so that the float nearest to
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

constexpr PhaseCells kPhaseCells[3] = {
    {cells::uaRms, cells::ubRms, cells::uaMax, cells::uaMin},
    {cells::ubRms, cells::ucRms, cells::ubMax, cells::ubMin},
    {cells::ucRms, cells::uaRms, cells::ucMax, cells::ucMin},
};

}  // namespace

IndexSampler::IndexSampler(const RecordStore& store, const ReportLimits& limits, StatisticRequest request,
                           ReportKind kind)
    : store_(store),
      request_(request),
      voltageReport_(kind.voltage()),
      phase_(kind.phaseIndex()),
      channel_(kind.channel()),
      nominal_(static_cast<float>(store.nominalVoltage)),
      band_(deviationBand(nominal_)) {
  if (request.index == StatisticIndex::Harmonic) {
    if (request.order < kFirstLimitedOrder || request.order > kLastLimitedOrder) {
      throw std::invalid_argument("harmonic order outside 2..25");
    }
    limit_ = voltageReport_ ? limits.harmonicVoltageLimit(request.order)
                            : limits.harmonicCurrentLimit[request.order];
  } else if (request.index == StatisticIndex::Thd) {
    limit_ = limits.thdLimit;
  }
}

bool IndexSampler::isSigned() const {
  switch (request_.index) {
    case StatisticIndex::Deviation:
    case StatisticIndex::Fluctuation:
    case StatisticIndex::FrequencyDeviation:
      return true;
    default:
      return false;
  }
}

bool IndexSampler::hasTest() const {
  switch (request_.index) {
    case StatisticIndex::Harmonic:
    case StatisticIndex::Deviation:
    case StatisticIndex::Unbalance:
    case StatisticIndex::FrequencyDeviation:
      return true;
    case StatisticIndex::Thd:
      return voltageReport_;
    default:
      return false;
  }
}

IndexSampler::Sample IndexSampler::harmonic(int i) const {
  const float v = voltageReport_ ? static_cast<float>(store_.harmonicPercent(i, channel_, request_.order))
                                 : store_.record(i).harmonic(channel_, request_.order);
  return {v, v <= limit_};
}

IndexSampler::Sample IndexSampler::deviation(int i) {
  const MeasurementRecord& r = store_.record(i);
  const PhaseCells& c = kPhaseCells[phase_];
  const int mode = r.integer(cells::wiringMode);
  // Records of another wiring mode keep the voltages of the record before them.
  if (mode == 1) {
    carriedVoltage_ = lineVoltage(r.value(c.rms), r.value(c.nextRms));
    carriedNominal_ = nominal_;
  } else if (mode == 3) {
    carriedVoltage_ = r.value(c.rms);
    carriedNominal_ = nominal_;
  }
  const double difference = static_cast<double>(carriedVoltage_) - carriedNominal_;
  const float v = above(carriedVoltage_, kVoltageThreshold) && above(carriedNominal_, kVoltageThreshold)
                      ? static_cast<float>(difference / carriedNominal_ * 100)
                      : 0.0f;
  return {v, band_.passes(difference, v)};
}

IndexSampler::Sample IndexSampler::operator()(int i) {
  const MeasurementRecord& r = store_.record(i);
  const PhaseCells& c = kPhaseCells[phase_];
  switch (request_.index) {
    case StatisticIndex::Fundamental: {
      const float f = r.harmonic(channel_, 1);
      if (!voltageReport_) return {above(f, kCurrentThreshold) ? f : 0.0f, false};
      const float v = r.integer(cells::wiringMode) == 1 ? f : static_cast<float>(f * kThreeWirePhaseFactor);
      return {above(v, kVoltageThreshold) ? v : 0.0f, false};
    }
    case StatisticIndex::LineFundamental: {
      if (r.integer(cells::wiringMode) == 1) return {lineVoltage(r.value(c.rms), r.value(c.nextRms)), false};
      const float f = r.harmonic(channel_, 1);
      return {above(f, kVoltageThreshold) ? f : 0.0f, false};
    }
    case StatisticIndex::Harmonic:
      return harmonic(i);
    case StatisticIndex::Thd: {
      const auto v = static_cast<float>(store_.thd(i, channel_));
      return {v, v <= limit_};
    }
    case StatisticIndex::Deviation:
      return deviation(i);
    case StatisticIndex::Unbalance: {
      const float negative = r.value(cells::uNegative);
      const float positive = r.value(cells::uPositive);
      const float v = above(negative, kSequenceThreshold) && above(positive, kSequenceThreshold)
                          ? static_cast<float>(static_cast<double>(negative) / positive * 100)
                          : 0.0f;
      return {v, v <= kUnbalanceLimit};
    }
    case StatisticIndex::Fluctuation: {
      const float high = r.value(c.max);
      const float low = r.value(c.min);
      const bool measured = above(high, kVoltageThreshold) && above(low, kVoltageThreshold) &&
                            above(nominal_, kVoltageThreshold);
      return {measured ? static_cast<float>((static_cast<double>(high) - low) / nominal_ * 100) : 0.0f,
              false};
    }
    case StatisticIndex::FrequencyDeviation: {
      const auto v = static_cast<float>(static_cast<double>(r.value(cells::frequency)) - kNominalFrequency);
      return {v, std::fabs(static_cast<double>(v)) <= kFrequencyDeviationLimit};
    }
  }
  return {0, false};
}

}  // namespace pq
