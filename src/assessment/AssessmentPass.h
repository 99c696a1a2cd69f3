#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "aggregation/AggregatedSeries.h"
#include "aggregation/RecordGaps.h"
#include "aggregation/IntervalAggregator.h"
#include "aggregation/RecordTimeGate.h"
#include "assessment/EnergyMeter.h"
#include "assessment/VoltageEvents.h"
#include "timerange/RecordSpan.h"

namespace pq {

class RecordStore;

// The records a pass let through: the first and last record times, their number and the pauses.
struct RecordedSpan {
  std::int64_t first = 0;
  std::int64_t last = 0;
  int records = 0;
  std::vector<RecordGap> gaps;  // the seconds without records (aggregation/RecordGaps.h)
};

// One pass over the records of a recording that feeds every record the time gate lets through to the
// voltage events, the aggregation (which flags the intervals an event touches) and the energy meter.
// A survey feeds its files one after another into one pass, each while its store holds it, and keeps
// what its sink keeps.
class AssessmentPass {
 public:
  // Throws std::invalid_argument as VoltageEventDetector does for a declared voltage that is no
  // positive number.
  AssessmentPass(AggregationSink& sink, double declaredVoltage, int recordSeconds = 1);

  // The records `range` of the store, cut to the records in use.
  void feed(const RecordStore& store, IndexRange range);
  // Closes the open intervals, the open event and the energy.
  void finish();

  const RecordTimeGate& gate() const { return gate_; }
  const RecordedSpan& span() const { return span_; }
  const std::vector<VoltageEvent>& events() const { return events_.events(); }
  const EnergySummary& energy() const { return energy_; }

 private:
  int recordSeconds_;
  RecordTimeGate gate_;
  RecordedSpan span_;
  VoltageEventDetector events_;
  IntervalAggregator aggregator_;
  EnergyMeter meter_;
  EnergySummary energy_;
};

// What the assessment of one recording starts from.
struct RecordingValues {
  std::array<AggregatedSeries, kResolutionCount> series;
  std::vector<VoltageEvent> events;
  SarfiCounts sarfi;
  EnergySummary energy;
  RecordTimeGate gate;  // its counts of the records left out
  RecordedSpan span;
};
// The values of a finished pass, whose sink kept `series`.
RecordingValues recordingValuesOf(const AssessmentPass& pass,
                                  std::array<AggregatedSeries, kResolutionCount>&& series);
// `alsoTo`, when given, sees every interval as the series do (the 95 % values of the 3-second values).
RecordingValues assessRecording(const RecordStore& store, IndexRange range, double declaredVoltage,
                                AggregationSink* alsoTo = nullptr, int recordSeconds = 1);

}  // namespace pq
