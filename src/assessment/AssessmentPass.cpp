#include "assessment/AssessmentPass.h"

#include <algorithm>

#include "records/RecordStore.h"

namespace pq {

AssessmentPass::AssessmentPass(AggregationSink& sink, double declaredVoltage, int recordSeconds)
    : events_(declaredVoltage), aggregator_(sink), meter_(recordSeconds) {}

void AssessmentPass::feed(const RecordStore& store, IndexRange range) {
  const int end = std::min(range.end, store.recordCount());
  for (int i = std::max(0, range.start); i < end; ++i) {
    const auto seconds = gate_.admit(store, i);
    if (!seconds) continue;
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

RecordingValues assessRecording(const RecordStore& store, IndexRange range, double declaredVoltage) {
  SeriesCollector collector;
  AssessmentPass pass(collector, declaredVoltage);
  pass.feed(store, range);
  pass.finish();
  RecordingValues values;
  values.series = std::move(collector.series);
  values.events = pass.events();
  values.sarfi = sarfiCounts(values.events);
  values.energy = pass.energy();
  values.gate = pass.gate();
  return values;
}

}  // namespace pq
