#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "aggregation/AggregatedQuantities.h"

namespace pq {

struct MeasurementRecord;

// How a record counts in the indices: as it is, inside a voltage event that the indices leave out
// (a dip, swell or short interruption of 60 s or less), or inside the outage of a long interruption.
enum class RecordMark { None, Event, Outage };

// The clock-aligned interval lengths: an interval holds the records whose time stamps fall in it,
// 10:00:00-10:00:02, 10:00:00-10:00:09, 10:00:00-10:00:59 and 10:00:00-10:09:59.
enum class Resolution { ThreeSeconds = 0, TenSeconds = 1, OneMinute = 2, TenMinutes = 3 };
inline constexpr int kResolutionCount = 4;
inline constexpr std::array<int, kResolutionCount> kResolutionSeconds = {3, 10, 60, 600};
// The coarser resolution a finished interval merges into, -1 for none. Ten seconds do not divide
// into 3-second intervals, so the 10-second values are summed from the records themselves, as the
// 3-second ones are.
inline constexpr std::array<int, kResolutionCount> kMergesInto = {2, -1, 3, -1};
// How many of aggregatedQuantities() the intervals of a resolution hold: 10-second values are asked
// only of the cells (frequency, for its deviation), so summing the harmonics a second time per record
// is spared; the others hold all.
inline constexpr std::array<int, kResolutionCount> kResolutionQuantities = {
    kAggregatedQuantityCount, kCellQuantityCount, kAggregatedQuantityCount, kAggregatedQuantityCount};

// A quantity over one interval: the root mean square or mean of its values, and their extremes (the
// records' own minimum and maximum cells where the quantity has them). Values that are not finite
// numbers take no part; a quantity without any, or one its resolution does not hold, holds
// not-a-number in all three.
struct AggregatedValue {
  double value;
  double min;
  double max;
};

// Quantities that follow one another in aggregatedQuantities(), for a sink that asks for many values
// of each interval a stretch at a time (AggregatedInterval::valuesOf).
struct QuantityStretch {
  int first;
  int count;
};
// The stretches of `quantities`, in their order.
std::vector<QuantityStretch> stretchesOf(std::span<const int> quantities);

// A finished interval, valid only during the call that hands it over. Its values are worked out when
// asked for (value()), since a sink keeps only some of them: a root and a division per quantity and
// 3-second interval would take much of the time of a day's aggregation. `flagged` when a record
// inside it belongs to a voltage event.
struct AggregatedInterval {
  Resolution resolution;
  std::int64_t start;  // epoch seconds (RecordTimeGate.h) of its first second
  int recordCount;
  bool flagged;
  bool outage;
  int quantityCount;  // the first quantities of aggregatedQuantities() it holds
  // Per quantity, in the order of aggregatedQuantities(): the sum (of squares for magnitudes), the
  // number of values and their extremes.
  const double* sum;
  const double* count;
  const double* min;
  const double* max;
  const bool* rms;  // whether the quantity aggregates as root mean square

  // Whether the quantity has a value in the interval.
  bool holds(int quantity) const { return quantity < quantityCount && count[quantity] != 0.0; }
  AggregatedValue value(int quantity) const {
    if (!holds(quantity)) return {kNoValue, kNoValue, kNoValue};
    const double mean = sum[quantity] / count[quantity];
    return {rms[quantity] ? std::sqrt(mean) : mean, min[quantity], max[quantity]};
  }
  // value(q).value of the quantities of the stretches, in their order, into `out`, in loops that the
  // compiler vectorises: for a sink that takes many, a division and a root one quantity after another
  // took most of its time.
  void valuesOf(std::span<const QuantityStretch> stretches, double* out) const;

 private:
  static constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
};

class AggregationSink {
 public:
  virtual ~AggregationSink() = default;
  virtual void intervalFinished(const AggregatedInterval& interval) = 0;
};

// Aggregates one-second records as they come, keeping only the open interval of each resolution:
// a record that falls into a later interval finishes the open ones it leaves, finest first, and
// hands them to the sink. An interval without records is never opened, so a gap in the recording is
// a gap in the intervals, never a zero.
//
// Each record's values go into the open 3-second and 10-second sums only; a finished 3-second
// interval merges into its minute and a minute into its ten minutes (sums of squares, sums, counts
// and extremes merge exactly), so every record is read once whatever the resolutions. A 3-second
// interval's records are kept as read and summed when it closes, quantity by quantity over its
// records, so that each of its sums is loaded and stored once rather than once per record, and
// without the selects that leave out values that are no numbers: such a value leaves its quantity's
// sum no number, and only those quantities are summed again with the selects. Either way the
// additions come in record order, so the sums are those of adding record after record. Nothing is
// allocated after construction, and the loops over a record's quantities run over stretches of one
// source or one kind that the compiler can vectorise (docs/performance.md).
class IntervalAggregator {
 public:
  explicit IntervalAggregator(AggregationSink& sink);

  // `seconds` must rise strictly from call to call (RecordTimeGate lets through only such records).
  void add(const MeasurementRecord& record, std::int64_t seconds, RecordMark mark);
  // Finishes the open intervals; the next add starts afresh.
  void finish();

 private:
  struct Level {
    std::int64_t start = -1;  // -1: no interval open
    int recordCount = 0;
    bool flagged = false;
    bool outage = false;
    std::vector<double> sum;  // of squares for Rms quantities
    std::vector<double> min;
    std::vector<double> max;
    std::vector<double> count;  // a double, as the sums, so that one vector step updates all four
  };

  // Quantities read together: one cell, or consecutive orders of one channel's harmonics.
  struct Run {
    QuantitySource source;
    int at;
    int firstOrder;
    int begin, end;  // quantities
  };
  // Consecutive quantities of one kind after those with their own extreme cells.
  struct Segment {
    bool rms;
    int begin, end;
  };

  // A record as read: the values of its quantities, then for those with their own extreme cells the
  // lows and then the highs (each the cell where it holds a number, else the value).
  static constexpr int kReadSize = kAggregatedQuantityCount + 2 * kOwnExtremeQuantities;
  // The most records a 3-second interval holds when their seconds rise strictly.
  static constexpr int kPendingRecords = kResolutionSeconds[0];

  void read(const MeasurementRecord& record, double* values);
  // Quantities [begin, end) of one record into the level, leaving out values that are no numbers.
  void accumulate(const double* values, Level& level, int begin, int end);
  void sumPending();
  // Whether every sum came out a finite number.
  template <int kRecords>
  bool sumWithoutSelects(Level& level);
  static void resetQuantity(Level& level, int quantity);
  void open(int level, std::int64_t start);
  void close(int level);
  void mergeInto(const Level& from, Level& to);

  AggregationSink& sink_;
  std::array<Level, kResolutionCount> levels_;
  std::vector<Run> runs_;
  std::vector<Segment> segments_;
  std::array<bool, kAggregatedQuantityCount> rms_{};  // per quantity, for AggregatedInterval::rms
  // The records of the open 3-second interval not yet summed into it: kPendingRecords of kReadSize.
  std::vector<double> pending_;
  int pendingRecords_ = 0;
  bool pendingSinceOpen_ = false;  // the open 3-second interval holds nothing but the pending records
};

}  // namespace pq
