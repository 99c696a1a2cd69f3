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

}  // namespace

AssessmentPass::AssessmentPass(AggregationSink& sink, double declaredVoltage, TimeWindow window,
                               RecordVerdictListener* listener)
    : window_(window), listener_(listener), events_(declaredVoltage), aggregator_(sink), held_(kMostHeld) {}

void AssessmentPass::feed(std::span<const MeasurementRecord> records, const RecordOrigin& origin) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i + kPrefetchDistance < records.size()) prefetchMeasuredCells(records[i + kPrefetchDistance]);
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
      aggregator_.add(record, seconds, *mark);
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
    aggregator_.add(held.record, held.seconds, *mark);
    heldFirst_ = (heldFirst_ + 1) % held_.size();
    --heldCount_;
  }
}

void AssessmentPass::finish() {
  judge(gate_.finish());
  waiting_ = nullptr;
  events_.finish();
  release();
  aggregator_.finish();
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
