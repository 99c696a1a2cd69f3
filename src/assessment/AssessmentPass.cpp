#include "assessment/AssessmentPass.h"

#include "aggregation/RecordGaps.h"
#include "aggregation/SinkFanOut.h"
#include "records/RecordStore.h"

namespace pq {

AssessmentPass::AssessmentPass(AggregationSink& sink, double declaredVoltage, int recordSeconds)
    : recordSeconds_(recordSeconds), events_(declaredVoltage), aggregator_(sink), meter_(recordSeconds) {}

void AssessmentPass::feed(const RecordStore& store, IndexRange range) {
  range = recordsInUse(store, range);
  for (int i = range.start; i < range.end; ++i) {
    const auto seconds = gate_.admit(store, i);
    if (!seconds) continue;
    if (span_.records == 0) {
      span_.first = *seconds;
    } else if (const auto gap = gapBetween(span_.last, *seconds, recordSeconds_)) {
      span_.gaps.push_back(*gap);
    }
    span_.last = *seconds;
    ++span_.records;
    const bool inEvent = events_.add(store, i, *seconds);
    aggregator_.add(store, i, *seconds, inEvent);
    meter_.add(store, i, *seconds);
  }
}

void AssessmentPass::finish() {
  events_.finish();
  aggregator_.finish();
  energy_ = meter_.finish();
}

RecordingValues recordingValuesOf(const AssessmentPass& pass,
                                  std::array<AggregatedSeries, kResolutionCount>&& series) {
  RecordingValues values;
  values.series = std::move(series);
  values.events = pass.events();
  values.sarfi = sarfiCounts(values.events);
  values.energy = pass.energy();
  values.gate = pass.gate();
  values.span = pass.span();
  return values;
}

RecordingValues assessRecording(const RecordStore& store, IndexRange range, double declaredVoltage,
                                AggregationSink* alsoTo, int recordSeconds) {
  SeriesCollector collector(recordingQuantities());
  range = recordsInUse(store, range);
  collector.reserveFor(recordedSeconds(store, range), range.end - range.start);
  std::vector<AggregationSink*> sinks = {&collector};
  if (alsoTo != nullptr) sinks.push_back(alsoTo);
  SinkFanOut fanOut(std::move(sinks));
  AssessmentPass pass(fanOut, declaredVoltage, recordSeconds);
  pass.feed(store, range);
  pass.finish();
  return recordingValuesOf(pass, std::move(collector.series));
}

}  // namespace pq
