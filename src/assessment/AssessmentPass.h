#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "aggregation/AggregatedSeries.h"
#include "aggregation/IntervalAggregator.h"
#include "aggregation/RecordGaps.h"
#include "aggregation/RecordTimeGate.h"
#include "assessment/EnergyMeter.h"
#include "assessment/VoltageEvents.h"
#include "records/MeasurementRecord.h"
#include "timerange/TimeWindow.h"

namespace pq {

struct RecordHead;

// The records a pass let through: the first and last record times, their number and the pauses.
struct RecordedSpan {
  std::int64_t first = 0;
  std::int64_t last = 0;
  int records = 0;
  std::vector<RecordGap> gaps;  // the seconds without records (aggregation/RecordGaps.h)
};

// What the records of one feed share: the recording interval of their file (what a record stands
// for, what a pause must exceed to be a gap), whether their powers are in kilo units, and a number
// the pass hands back with its verdict on each record (a survey's file).
struct RecordOrigin {
  int intervalSeconds = 1;
  bool kiloUnits = false;
  int tag = 0;
};

// Told what became of each record a pass was fed within its time window, in the order fed.
class RecordVerdictListener {
 public:
  virtual ~RecordVerdictListener() = default;
  // `seconds` is nothing for a record whose stamp is no date-time.
  virtual void recordJudged(int tag, std::optional<std::int64_t> seconds, bool admitted) = 0;
};

// One pass over the records of a recording that feeds every record of the time window that the time
// gate lets through to the voltage events, the aggregation and the energy meter. Whether a record's
// intervals count in the indices depends on the event it is in, known only when the event ends or
// passes a minute; until then the pass holds copies of its records (at most a minute of them) and
// hands them to the aggregation afterwards, in order. A survey feeds its files one after another
// into one pass, each while its store holds it.
class AssessmentPass {
 public:
  // Throws std::invalid_argument as VoltageEventDetector does for a declared voltage that is no
  // positive number.
  AssessmentPass(AggregationSink& sink, double declaredVoltage, TimeWindow window = {},
                 RecordVerdictListener* listener = nullptr);

  // The next records of the recording, in the order they were recorded in their file; they need stay
  // only for the call (a survey's chunk of decoded frames, or records of the store).
  void feed(std::span<const MeasurementRecord> records, const RecordOrigin& origin);
  // Closes the open intervals, the open events and the energy.
  void finish();

  const RecordTimeGate& gate() const { return gate_; }
  const RecordedSpan& span() const { return span_; }
  const std::vector<VoltageEvent>& events() const { return events_.events(); }  // short and sustained
  const EnergySummary& energy() const { return energy_; }
  // Records let through whose frequency is no measurement (0 Hz or below, or no number).
  int invalidFrequencies() const { return invalidFrequencies_; }
  // The recording intervals of the records let through, ascending.
  const std::vector<int>& recordIntervals() const { return recordIntervals_; }

 private:
  struct Held {
    MeasurementRecord record;
    std::int64_t seconds;
    VoltageEventDetector::Membership membership;
  };

  void judge(const std::optional<RecordTimeGate::Judged>& judged);
  void admit(const MeasurementRecord& record, std::int64_t seconds, const RecordOrigin& origin);
  // Hands the held records whose events are decided to the aggregation, oldest first.
  void release();

  TimeWindow window_;
  RecordVerdictListener* listener_;
  RecordTimeGate gate_;
  // The record the gate waits to judge until the next one's time is known: in the store while a feed
  // runs, copied when it ends.
  const MeasurementRecord* waiting_ = nullptr;
  RecordOrigin waitingOrigin_;
  MeasurementRecord waitingCopy_{};
  RecordedSpan span_;
  int lastInterval_ = 1;
  VoltageEventDetector events_;
  IntervalAggregator aggregator_;
  EnergyMeter meter_;
  EnergySummary energy_;
  int invalidFrequencies_ = 0;
  std::vector<int> recordIntervals_;
  // A ring of the records held for their events' outcome.
  std::vector<Held> held_;
  std::size_t heldFirst_ = 0;
  std::size_t heldCount_ = 0;
};

// What the assessment of one recording starts from.
struct RecordingValues {
  std::array<AggregatedSeries, kResolutionCount> series;
  std::vector<VoltageEvent> events;     // GB/T 30137's dips, swells and short interruptions
  std::vector<VoltageEvent> sustained;  // under- and overvoltages and long interruptions
  SarfiCounts sarfi;
  EnergySummary energy;
  RecordTimeGate gate;  // its counts of the records left out
  RecordedSpan span;
  int invalidFrequencies = 0;
  std::vector<int> recordIntervals;
};
// The values of a finished pass, whose sink kept `series`.
RecordingValues recordingValuesOf(const AssessmentPass& pass,
                                  std::array<AggregatedSeries, kResolutionCount>&& series);
// `alsoTo`, when given, sees every interval as the series do (the 95 % values of the 3-second values).
// The records are those of one file, of the head `head` and the recording interval `recordSeconds`.
RecordingValues assessRecording(const RecordHead& head, std::span<const MeasurementRecord> records,
                                double declaredVoltage, AggregationSink* alsoTo = nullptr, int recordSeconds = 1,
                                const TimeWindow& window = {});

}  // namespace pq
