#include "assessment/UnbalanceAssessment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "assessment/AssessmentMessages.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

// 10-minute values of the voltage unbalance, the current unbalance twice as high; the intervals
// listed in `flagged` hold a voltage event.
AggregatedSeries tenMinutesOf(const std::vector<double>& values,
                              const std::vector<std::size_t>& flagged = {}) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::uUnbalance), cellQuantity(cells::iUnbalance)};
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool isFlagged = std::find(flagged.begin(), flagged.end(), i) != flagged.end();
    series.intervals.push_back({static_cast<std::int64_t>(i) * 600, 600, isFlagged, false});
    series.values.push_back({values[i], values[i], values[i]});
    series.values.push_back({2 * values[i], 2 * values[i], 2 * values[i]});
  }
  return series;
}

// 21 values: seventeen of 1.12 % and 1.84, `second`, 1.96 and `largest`. Of 21 values the 95 % value
// is the 2nd largest.
std::vector<double> twentyOne(double second, double largest) {
  std::vector<double> values(17, 1.12);
  values.insert(values.end(), {1.84, second, 1.96, largest});
  return values;
}

TEST(UnbalanceAssessment, TheNinetyFifthPercentValueAndTheLargestValueDecide) {
  struct Case {
    const char* what;
    std::vector<double> values;
    std::vector<std::size_t> flagged;
    UnbalanceLimits limits;
    double p95, max;
    double passRate;
    Verdict verdict;
  };
  const Case cases[] = {
      {"95 % value over 2 %",
       twentyOne(2.23, 3.87),
       {},
       kNetworkUnbalance,
       2.23,
       3.87,
       100.0 * 19 / 21,
       Verdict::Fail},
      {"largest over 4 %",
       twentyOne(1.93, 4.35),
       {},
       kNetworkUnbalance,
       1.96,
       4.35,
       100.0 * 20 / 21,
       Verdict::Fail},
      {"both within",
       twentyOne(1.93, 3.87),
       {},
       kNetworkUnbalance,
       1.96,
       3.87,
       100.0 * 20 / 21,
       Verdict::Pass},
      {"a user's share",
       twentyOne(1.93, 2.47),
       {},
       kUserUnbalance,
       1.96,
       2.47,
       100.0 * 17 / 21,
       Verdict::Fail},
      // Without the flagged 4.35 % the 20 values' 95 % value is their largest, 1.96 %.
      {"flagged largest left out",
       twentyOne(1.93, 4.35),
       {20},
       kNetworkUnbalance,
       1.96,
       1.96,
       100.0,
       Verdict::Pass},
  };
  for (const Case& c : cases) {
    const UnbalanceAssessment result = assessUnbalance(tenMinutesOf(c.values, c.flagged), c.limits);
    EXPECT_EQ(result.voltage.verdict, c.verdict) << c.what;
    EXPECT_EQ(result.voltage.p95, c.p95) << c.what;
    EXPECT_EQ(result.voltage.max, c.max) << c.what;
    EXPECT_EQ(result.voltage.min, 1.12) << c.what;
    EXPECT_NEAR(result.voltage.passRate, c.passRate, 1e-9) << c.what;
    EXPECT_EQ(result.voltage.upperLimit, c.limits.at95) << c.what;
    EXPECT_EQ(result.voltage.largestLimit, c.limits.largest) << c.what;
    EXPECT_EQ(result.flaggedIntervals, static_cast<int>(c.flagged.size())) << c.what;
    // The current unbalance: the same statistics of twice the values, never a verdict.
    EXPECT_FALSE(result.current.judged()) << c.what;
    EXPECT_EQ(result.current.max, 2 * result.voltage.max) << c.what;
    EXPECT_EQ(result.current.p95, 2 * c.p95) << c.what;
  }
}

TEST(UnbalanceAssessment, TheMeanIsThatOfTheTenMinuteValues) {
  const UnbalanceAssessment result = assessUnbalance(tenMinutesOf(twentyOne(1.93, 3.87)), kNetworkUnbalance);
  EXPECT_NEAR(result.voltage.mean, (17 * 1.12 + 1.84 + 1.93 + 1.96 + 3.87) / 21, 1e-12);
  EXPECT_EQ(result.voltage.values, 21);
}

TEST(UnbalanceAssessment, TheTenMinuteValueIsTheRootMeanSquareOfItsRecordsNegativeOverPositiveSequence) {
  // 10:00:00-10:09:59: 300 records at U2/U1 = 1.2 % and 300 at 1.6 %: sqrt((1.44 + 2.56) / 2) = sqrt(2) %.
  // The instrument's own unbalance cell says 0.3 %: GB/T 15543's definition is the ratio of the
  // sequence components, which the phase report uses too.
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 600; ++s) {
    auto& r = test::appendRecord(*store, 10, 4, 20, 10, s / 60, s % 60);
    r.setValue(cells::uPositive, 5.75f);
    r.setValue(cells::uNegative, 5.75f * (s % 2 == 0 ? 0.012f : 0.016f));
    r.setValue(cells::uUnbalance, 0.3f);
  }
  const RangeAggregation aggregation = aggregateRecords(store->records());
  const UnbalanceAssessment result =
      assessUnbalance(aggregation.series[static_cast<int>(Resolution::TenMinutes)], kNetworkUnbalance);
  EXPECT_NEAR(result.voltage.max, std::sqrt(2.0), 1e-5);
}

TEST(UnbalanceAssessment, WhatCannotBeJudgedGetsNoVerdictAndSaysWhy) {
  const double nan = std::nan("");
  struct Case {
    const char* what;
    AggregatedSeries series;
    UnbalanceLimits limits;
    const char* reason;
  };
  std::vector<double> nineteen(19, 1.37);
  AggregatedSeries withoutUnbalance = tenMinutesOf({1.37});
  withoutUnbalance.quantities = {cellQuantity(cells::uaRms), cellQuantity(cells::ubRms)};
  const Case cases[] = {
      {"no intervals", tenMinutesOf({}), kNetworkUnbalance, messages::kNoTenMinuteValues},
      {"only values that are no numbers", tenMinutesOf({nan, nan}), kNetworkUnbalance,
       messages::kNoTenMinuteValues},
      {"every interval flagged", tenMinutesOf({1.37, 1.41}, {0, 1}), kNetworkUnbalance,
       messages::kNoTenMinuteValues},
      {"fewer than 20 values", tenMinutesOf(nineteen), kNetworkUnbalance, messages::kTooFewFor95Percent},
      {"a limit that is no number", tenMinutesOf(twentyOne(1.93, 3.87)), {nan, 4}, messages::kInvalidLimits},
      {"largest below the 95 % limit",
       tenMinutesOf(twentyOne(1.93, 3.87)),
       {2, 1.5},
       messages::kInvalidLimits},
      {"a series without unbalance", withoutUnbalance, kNetworkUnbalance, messages::kNotAggregated},
  };
  for (const Case& c : cases) {
    const UnbalanceAssessment result = assessUnbalance(c.series, c.limits);
    EXPECT_FALSE(result.voltage.judged()) << c.what;
    EXPECT_EQ(result.voltage.reason, c.reason) << c.what;
  }
}

}  // namespace
}  // namespace pq
