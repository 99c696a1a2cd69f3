#pragma once

#include <optional>

#include "aggregation/AggregatedSeries.h"
#include "history/TrendQueries.h"

namespace pq {

// How a trend page draws its range: every record, or the aggregated 1-minute or 10-minute values.
enum class TrendResolution { Records = 0, OneMinute = 1, TenMinutes = 2 };

// The aggregated values of the trend pages, worked out once per range: both resolutions of every
// quantity come out of one pass, so that switching a page's curves or resolution over the same range
// costs no second pass over a day of records. The store must not change while a range is kept; a page
// clears it when it is entered.
class TrendIntervals {
 public:
  // What a page draws for `resolution` over the records `range` of the store.
  TrendSource source(const RecordStore& store, IndexRange range, TrendResolution resolution);
  void clear() { range_.reset(); }

 private:
  std::optional<IndexRange> range_;
  RangeAggregation aggregation_;
  int wiringMode_ = 1;
};

}  // namespace pq
