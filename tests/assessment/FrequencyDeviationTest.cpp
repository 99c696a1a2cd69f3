#include "assessment/FrequencyDeviation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "assessment/AssessmentLimits.h"
#include "assessment/AssessmentMessages.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

// 10:00:00-10:00:59 at 50.03 Hz, but 10:00:14 at 51.30 Hz (its ten seconds average 50.139 Hz),
// 10:00:30-39 alternating 50.31 and 49.99 Hz (50.15 Hz) and 10:00:50-59 at 50.27 Hz.
std::unique_ptr<RecordStore> aMinuteOfFrequencies() {
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 60; ++s) {
    double f = 50.03;
    if (s >= 10 && s < 20) f = s == 14 ? 51.30 : 50.01;
    if (s >= 30 && s < 40) f = s % 2 == 0 ? 50.31 : 49.99;
    if (s >= 50) f = 50.27;
    test::appendRecord(*store, 10, 4, 20, 10, 0, s).setValue(cells::frequency, static_cast<float>(f));
  }
  return store;
}

TEST(FrequencyDeviation, TenSecondMeansAreJudgedNotTheRecords) {
  auto store = aMinuteOfFrequencies();
  const RangeAggregation aggregation = aggregateRecords(store->records());
  const AggregatedSeries& tenSeconds = aggregation.series[static_cast<int>(Resolution::TenSeconds)];
  ASSERT_EQ(tenSeconds.intervals.size(), 6u);

  struct Case {
    double limit;
    double passRate;
    Verdict verdict;
  };
  // Deviations 0.03, 0.139, 0.03, 0.15, 0.03 and 0.27 Hz: the 51.30 Hz record is averaged away, the
  // last ten seconds lie beyond 0.2 Hz but within 0.5 Hz.
  for (const Case& c : {Case{kNormalFrequencyDeviation, 100.0 * 5 / 6, Verdict::Fail},
                        Case{kWideFrequencyDeviation, 100.0, Verdict::Pass}}) {
    const FrequencyDeviationAssessment result = assessFrequencyDeviation(tenSeconds, c.limit, 0);
    EXPECT_EQ(result.index.verdict, c.verdict) << c.limit;
    EXPECT_NEAR(result.index.passRate, c.passRate, 1e-9) << c.limit;
    EXPECT_NEAR(result.index.max, 0.27, 1e-5) << c.limit;
    EXPECT_NEAR(result.index.min, 0.03, 1e-5) << c.limit;
    EXPECT_NEAR(result.index.mean, (3 * 0.03 + 0.139 + 0.15 + 0.27) / 6, 1e-5) << c.limit;
    EXPECT_TRUE(std::isnan(result.index.p95)) << "six values have no 95 % value";
    EXPECT_EQ(result.index.upperLimit, c.limit);
    EXPECT_EQ(result.index.lowerLimit, -c.limit);
  }
}

// 10-second values of the frequency alone.
AggregatedSeries tenSecondsOf(const std::vector<double>& frequencies, const std::vector<bool>& flagged = {}) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::frequency)};
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    series.intervals.push_back({static_cast<std::int64_t>(i) * 10, 10, i < flagged.size() && flagged[i], false});
    series.values.push_back({frequencies[i], frequencies[i], frequencies[i]});
  }
  return series;
}

TEST(FrequencyDeviation, TheNinetyFifthPercentValueRanksMagnitudesAndFlaggedValuesAreLeftOut) {
  // 21 values: nineteen at 50.04 Hz, 49.83 Hz (-0.17) and 50.12 Hz; a flagged 49.41 Hz left out.
  std::vector<double> f(19, 50.04);
  f.insert(f.end(), {49.83, 50.12, 49.41});
  std::vector<bool> flagged(22, false);
  flagged[21] = true;
  const FrequencyDeviationAssessment result =
      assessFrequencyDeviation(tenSecondsOf(f, flagged), kNormalFrequencyDeviation, 0);
  EXPECT_EQ(result.flaggedIntervals, 1);
  EXPECT_EQ(result.index.values, 21);
  EXPECT_EQ(result.index.verdict, Verdict::Pass);
  EXPECT_NEAR(result.index.min, -0.17, 1e-9);
  EXPECT_NEAR(result.index.max, 0.12, 1e-9);
  // The 2nd largest magnitude of 21: 0.17, 0.12, 0.04 ...
  EXPECT_NEAR(result.index.p95, 0.12, 1e-9);
}

TEST(FrequencyDeviation, WhatCannotBeJudgedGetsNoVerdictAndSaysWhy) {
  const double nan = std::nan("");
  AggregatedSeries withoutFrequency = tenSecondsOf({50.01});
  withoutFrequency.quantities = {cellQuantity(cells::uaRms)};
  struct Case {
    const char* what;
    AggregatedSeries series;
    double limit;
    const char* reason;
  };
  const Case cases[] = {
      {"no intervals", tenSecondsOf({}), 0.2, messages::kNoTenSecondValues},
      {"only values that are no numbers", tenSecondsOf({nan, nan}), 0.2, messages::kNoTenSecondValues},
      {"every value flagged", tenSecondsOf({50.01, 49.97}, {true, true}), 0.2, messages::kNoTenSecondValues},
      {"a zero limit", tenSecondsOf({50.01}), 0, messages::kInvalidLimits},
      {"a limit that is no number", tenSecondsOf({50.01}), nan, messages::kInvalidLimits},
      {"a series without frequency", withoutFrequency, 0.2, messages::kNotAggregated},
  };
  for (const Case& c : cases) {
    const FrequencyDeviationAssessment result = assessFrequencyDeviation(c.series, c.limit, 0);
    EXPECT_FALSE(result.index.judged()) << c.what;
    EXPECT_EQ(result.index.reason, c.reason) << c.what;
  }
}

}  // namespace
}  // namespace pq
