#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "aggregation/IntervalAggregator.h"
#include "aggregation/RecordTimeGate.h"

namespace pq {

// The finished intervals of one resolution, in time order, with the values of the quantities it keeps
// in one block.
struct AggregatedSeries {
  struct Interval {
    std::int64_t start;
    int recordCount;
    bool flagged;
    bool outage;
  };
  std::vector<int> quantities;  // positions in aggregatedQuantities(), in the order of a row
  std::vector<Interval> intervals;
  std::vector<AggregatedValue> values;  // intervals.size() rows of quantities.size()

  std::span<const AggregatedValue> row(std::size_t interval) const;
  // The value of a quantity in an interval; nullptr when the series does not keep the quantity.
  const AggregatedValue* find(std::size_t interval, int quantity) const;

  // The values of a quantity over the intervals without a voltage event or outage inside, in time
  // order, as the indices judge them: outage intervals, flagged intervals and values that are no finite
  // numbers are counted apart. `kept` is false, and nothing is gathered, when the series does not keep
  // the quantity.
  struct UnflaggedValues {
    std::vector<double> values;
    int outage = 0;
    int flagged = 0;
    int withoutValue = 0;
    bool kept = true;
  };
  UnflaggedValues unflaggedValues(int quantity) const;
};

// Which quantities a collector keeps at each resolution.
using KeptQuantities = std::array<std::vector<int>, kResolutionCount>;
std::vector<int> allQuantities();
// What the assessment of a recording keeps: every quantity at 1 and 10 minutes, the frequency at 10
// seconds, nothing at 3 seconds.
// The 3-second values of a day would be 338 MB, and even the harmonics judged on them 100 MB; their
// 95 % values need only the largest 5 %, which a sink of their own keeps as they pass.
KeptQuantities recordingQuantities();

// Keeps the chosen quantities of every interval it is handed.
class SeriesCollector : public AggregationSink {
 public:
  explicit SeriesCollector(const KeptQuantities& kept);
  // Room for the intervals of `records` records over `seconds`, so that a day's series grow without
  // copies.
  void reserveFor(std::int64_t seconds, int records);
  void intervalFinished(const AggregatedInterval& interval) override;

  std::array<AggregatedSeries, kResolutionCount> series;

 private:
  std::array<std::vector<QuantityStretch>, kResolutionCount> stretches_;  // of the kept quantities
  std::vector<double> values_;                                            // of the interval at hand
};

// The seconds from the first to the last of the records, as their time stamps say; 0 for no records,
// records out of order or a time stamp that is no date-time.
std::int64_t recordedSeconds(std::span<const MeasurementRecord> records);

// The aggregated values of the records, without event flags, and the gate that counted the records
// left out.
struct RangeAggregation {
  std::array<AggregatedSeries, kResolutionCount> series;
  RecordTimeGate gate;
};
RangeAggregation aggregateRecords(std::span<const MeasurementRecord> records,
                                  const KeptQuantities& kept = recordingQuantities());

}  // namespace pq
