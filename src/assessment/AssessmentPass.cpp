#include "assessment/AssessmentPass.h"

#include <algorithm>
#include <stdexcept>

#include "aggregation/RecordGaps.h"
#include "aggregation/SinkFanOut.h"
#include "records/RecordQuantities.h"
#include "records/RecordHead.h"

namespace pq {

namespace {

// The most records held at once: those of one event until it passes a minute, at one a second.
constexpr std::size_t kMostHeld = kLongestShortEventSeconds + 2;
// How far ahead of the record at hand its cells are asked for.
constexpr int kPrefetchDistance = 2;
// The records aggregated at a time: a millisecond's work for each part, so that handing a batch over
// costs little beside it, and 2 MB of records, which the parts still find in the cache after the
// pass has judged them (with 4 096, a third more time went to reading them).
constexpr std::size_t kBatchRecords = 1024;
// Copies of held records in a batch: events are rare, and a batch with more is aggregated early.
constexpr std::size_t kBatchCopies = 2 * kMostHeld;
// The first quantity of the part aggregated on the helper thread: the current channels' distortion
// and contents and the harmonic currents, about as much work as the phase quantities and the
// voltages' harmonics together with the rest of the pass.
constexpr int kSecondPartBegin = fundamentalQuantity(Ia);
// The cells each part reads: the phase cells and the voltages' harmonics, the currents' harmonics.
constexpr std::array<std::array<int, 2>, 2> kCellsOfPart = {
    {{cells::uaRms, cells::harmonic(Ia, 0)}, {cells::harmonic(Ia, 0), cells::harmonic(kChannelCount, 0)}}};

}  // namespace

AssessmentPass::AssessmentPass(AggregationSink& sink, double declaredVoltage, TimeWindow window,
                               RecordVerdictListener* listener)
    : window_(window),
      listener_(listener),
      events_(declaredVoltage),
      sink_(sink),
      aggregators_{IntervalAggregator(sink, {0, 0, kSecondPartBegin}),
                   IntervalAggregator(sink, {1, kSecondPartBegin, kAggregatedQuantityCount})},
      held_(kMostHeld) {
  batch_.reserve(kBatchRecords);
  copies_.reserve(kBatchCopies);
}

void AssessmentPass::feed(std::span<const MeasurementRecord> records, const RecordOrigin& origin) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::optional<std::int64_t> seconds = recordSeconds(records[i]);
    if (!seconds) {
      gate_.undated();
      if (listener_ != nullptr) listener_->recordJudged(origin.tag, std::nullopt, false);
      continue;
    }
    if (!window_.contains(*seconds)) continue;
    judge(gate_.offer(*seconds));
    waiting_ = &records[i];
    waitingOrigin_ = origin;
  }
  // The records need not stay beyond this call.
  flush();
  if (waiting_ != nullptr && waiting_ != &waitingCopy_) {
    waitingCopy_ = *waiting_;
    waiting_ = &waitingCopy_;
  }
}

void AssessmentPass::judge(const std::optional<RecordTimeGate::Judged>& judged) {
  if (!judged) return;
  const bool admitted = judged->verdict == GateVerdict::Admitted;
  if (listener_ != nullptr) listener_->recordJudged(waitingOrigin_.tag, judged->seconds, admitted);
  if (admitted) admit(*waiting_, judged->seconds, waitingOrigin_);
}

void AssessmentPass::admit(const MeasurementRecord& record, std::int64_t seconds, const RecordOrigin& origin) {
  const int interval = std::max(origin.intervalSeconds, 1);
  if (span_.records == 0) {
    span_.first = seconds;
  } else if (const auto gap = gapBetween(span_.last, seconds, lastInterval_)) {
    span_.gaps.push_back(*gap);
  }
  span_.last = seconds;
  lastInterval_ = interval;
  ++span_.records;
  if (!std::binary_search(recordIntervals_.begin(), recordIntervals_.end(), interval)) {
    recordIntervals_.insert(std::upper_bound(recordIntervals_.begin(), recordIntervals_.end(), interval), interval);
  }
  if (std::isnan(measuredFrequency(record))) ++invalidFrequencies_;
  meter_.add(record, seconds, interval, origin.kiloUnits);

  const VoltageEventDetector::Membership membership = events_.add(record, seconds, interval);
  if (heldCount_ == 0) {
    if (const auto mark = events_.markOf(membership, seconds)) {
      aggregate(record, seconds, *mark, false);
      return;
    }
  }
  if (heldCount_ == held_.size()) throw std::logic_error("assessment pass: more records held than an event can have");
  Held& held = held_[(heldFirst_ + heldCount_) % held_.size()];
  held.record = record;
  held.seconds = seconds;
  held.membership = membership;
  ++heldCount_;
  release();
}

void AssessmentPass::release() {
  while (heldCount_ > 0) {
    const Held& held = held_[heldFirst_];
    const auto mark = events_.markOf(held.membership, held.seconds);
    if (!mark) return;
    aggregate(held.record, held.seconds, *mark, true);
    heldFirst_ = (heldFirst_ + 1) % held_.size();
    --heldCount_;
  }
}

void AssessmentPass::aggregate(const MeasurementRecord& record, std::int64_t seconds, RecordMark mark, bool copy) {
  if (batch_.size() == kBatchRecords || (copy && copies_.size() == kBatchCopies)) flush();
  const MeasurementRecord* kept = &record;
  if (copy) kept = &copies_.emplace_back(record);
  batch_.push_back({kept, seconds, mark});
}

void AssessmentPass::aggregatePart(int part) {
  const auto [firstCell, endCell] = kCellsOfPart[static_cast<std::size_t>(part)];
  IntervalAggregator& aggregator = aggregators_[static_cast<std::size_t>(part)];
  for (std::size_t i = 0; i < batch_.size(); ++i) {
    if (i + kPrefetchDistance < batch_.size()) prefetchCells(*batch_[i + kPrefetchDistance].record, firstCell, endCell);
    aggregator.add(*batch_[i].record, batch_[i].seconds, batch_[i].mark);
  }
}

void AssessmentPass::flush() {
  if (batch_.empty()) return;
  helper_.start([this] { aggregatePart(1); });
  aggregatePart(0);
  helper_.wait();
  sink_.partsJoined();
  batch_.clear();
  copies_.clear();
}

void AssessmentPass::finish() {
  judge(gate_.finish());
  waiting_ = nullptr;
  events_.finish();
  release();
  flush();
  helper_.start([this] { aggregators_[1].finish(); });
  aggregators_[0].finish();
  helper_.wait();
  sink_.partsJoined();
  energy_ = meter_.finish();
}

RecordingValues recordingValuesOf(const AssessmentPass& pass,
                                  std::array<AggregatedSeries, kResolutionCount>&& series) {
  RecordingValues values;
  values.series = std::move(series);
  for (const VoltageEvent& e : pass.events()) (isShortEvent(e.kind) ? values.events : values.sustained).push_back(e);
  values.sarfi = sarfiCounts(values.events);
  values.energy = pass.energy();
  values.gate = pass.gate();
  values.span = pass.span();
  values.invalidFrequencies = pass.invalidFrequencies();
  values.recordIntervals = pass.recordIntervals();
  return values;
}

RecordingValues assessRecording(const RecordHead& head, std::span<const MeasurementRecord> records,
                                double declaredVoltage, AggregationSink* alsoTo, int recordSeconds,
                                const TimeWindow& window) {
  SeriesCollector collector(recordingQuantities());
  collector.reserveFor(recordedSeconds(records), static_cast<int>(records.size()));
  std::vector<AggregationSink*> sinks = {&collector};
  if (alsoTo != nullptr) sinks.push_back(alsoTo);
  SinkFanOut fanOut(std::move(sinks));
  AssessmentPass pass(fanOut, declaredVoltage, window);
  if (!records.empty()) pass.feed(records, {recordSeconds, head.kiloUnits(), 0});
  pass.finish();
  return recordingValuesOf(pass, std::move(collector.series));
}

}  // namespace pq
