#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "aggregation/IntervalAggregator.h"

namespace pq {

// A quantity judged on its 3-second values, and the limit a value must not exceed.
struct JudgedQuantity {
  int quantity;  // position in aggregatedQuantities()
  double limit;
};

// The statistics of the 3-second values of the judged quantities, with their exact 95 % values, as
// the values pass: the report's 95 % value of N values is the ceil(N / 20)-th largest, so only the
// largest twentieth (K) of the most values that can come need be kept, instead of all of them (a day's
// harmonics would be 100 MB). Each quantity buffers up to 5K/4 values; a full buffer is cut to its K
// largest by selection, and the smallest of those turns away every later value not above it. That
// costs a comparison per value and a selection per K/4 values kept, where a bounded heap cost a
// logarithmic step per value kept and took most of the time of a day's assessment. The buffer's
// slack is a quarter rather than K, since what the buffers hold is most of what a month's survey keeps
// beyond its store. A value with a voltage event or an outage inside its interval is left out and
// counted apart; one that is no number is left out.
class NinetyFivePercentSink : public AggregationSink {
 public:
  // `maxIntervals`: the most 3-second intervals that will come (of a recording, no more than its
  // records nor its seconds / 3 + 2). Should more come, a 95 % value whose rank passes what was kept
  // is unknown, never guessed.
  NinetyFivePercentSink(std::vector<JudgedQuantity> judged, std::int64_t maxIntervals);

  void intervalFinished(const AggregatedInterval& interval) override;

  struct Summary {
    int values;  // unflagged 3-second values that are numbers
    int within;  // of which at most the limit
    double min, max, mean;
    double p95;  // not a number below 20 values or beyond what was kept
  };
  // Of judged()[k]; min, max and mean are not a number without values.
  Summary summary(std::size_t k) const;
  const std::vector<JudgedQuantity>& judged() const { return judged_; }
  int flaggedIntervals() const { return flagged_; }
  int outageIntervals() const { return outage_; }  // within a long interruption, left out as well

 private:
  struct Values {
    int count = 0;
    int within = 0;
    double sum = 0;
    double min = 0;
    double max = 0;
    std::vector<double> largest;                              // fewer than buffer_ values, unordered
    double floor = -std::numeric_limits<double>::infinity();  // what is turned away: this and less
    bool turnedAway = false;
  };

  std::vector<JudgedQuantity> judged_;
  std::vector<QuantityStretch> stretches_;  // of the judged quantities
  std::vector<double> interval_;  // the judged quantities' values of the interval at hand
  std::vector<Values> values_;
  std::size_t capacity_;
  std::size_t buffer_;  // capacity_ and a quarter of it
  int flagged_ = 0;
  int outage_ = 0;
};

}  // namespace pq
