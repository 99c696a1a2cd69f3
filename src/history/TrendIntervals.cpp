#include "history/TrendIntervals.h"

#include "records/RecordStore.h"
#include "timerange/RecordSpan.h"

namespace pq {

TrendSource TrendIntervals::source(const RecordStore& store, IndexRange range, TrendResolution resolution) {
  if (resolution == TrendResolution::Records) return range;
  range = recordsInUse(store, range);
  if (range_ != range) {
    const std::vector<int> none;
    aggregation_ = aggregateRecords(recordsOfRange(store, range), {none, none, allQuantities(), allQuantities()});
    // A recording keeps one wiring; the deviation page needs it to read the aggregated voltages.
    wiringMode_ = range.end > range.start ? store.record(range.start).integer(cells::wiringMode) : 1;
    range_ = range;
  }
  const Resolution of = resolution == TrendResolution::OneMinute ? Resolution::OneMinute : Resolution::TenMinutes;
  TrendSource source(aggregation_.series[static_cast<int>(of)], wiringMode_);
  // Minutes without records are a gap in the curves, not a line across them.
  source.intervalSeconds = kResolutionSeconds[static_cast<int>(of)];
  return source;
}

}  // namespace pq
