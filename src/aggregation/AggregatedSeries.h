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

// Keeps the chosen quantities of every interval it is handed. The first part's intervals make the
// rows; the second part's values wait in rows of their own until the parts are joined, and then take
// their columns in the rows at the end.
class SeriesCollector : public AggregationSink {
 public:
  explicit SeriesCollector(const KeptQuantities& kept);
  // Room for the intervals of `records` records over `seconds`, so that a day's series grow without
  // copies.
  void reserveFor(std::int64_t seconds, int records);
  void intervalFinished(const AggregatedInterval& interval) override;
  // Throws std::logic_error when the second part handed over intervals that the first did not.
  void partsJoined() override;

  std::array<AggregatedSeries, kResolutionCount> series;

 private:
  struct SecondPart {
    std::vector<AggregatedValue> rows;  // whole rows, only the part's columns meant
    int firstQuantity = 0;
    int endQuantity = 0;
  };
  void rowOf(const AggregatedInterval& interval, AggregatedValue* row);

  std::array<std::vector<QuantityStretch>, kResolutionCount> stretches_;  // of the kept quantities
  std::array<std::vector<double>, 2> values_;  // of the interval at hand, per part
  std::array<SecondPart, kResolutionCount> secondPart_;
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
