#include "assessment/HarmonicAssessment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "assessment/AssessmentMessages.h"
#include "records/RecordStore.h"
#include "statistics/ReportLimits.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

// A 10 kV level at the base short-circuit capacity with the user taking the whole supply: the tabled
// limits, Ua 2nd 1.6 %, 5th 3.2 %, distortion 4 %, Ia 5th 20 A.
ReportLimits tenKilovoltLimits() {
  ReportLimits limits;
  limits.setVoltageLimits("10KV");
  limits.computeCurrentLimits("10KV", "100", "10", "10");
  return limits;
}

const HarmonicIndex& find(const std::vector<HarmonicIndex>& indices, int channel, int order) {
  return *std::find_if(indices.begin(), indices.end(),
                       [&](const HarmonicIndex& h) { return h.channel == channel && h.order == order; });
}

// 21 3-second intervals of Ua (fundamental 100) and Ia whose three records are alike: Ua's 2nd
// harmonic 0.8 % but 1.7 % in intervals 8 and 15, its 5th 2.9 % but 3.6 % in interval 3; Ia's 5th
// 18.3 A but 21.4 A in intervals 6 and 11.
NinetyFivePercentSink assessedHour(const ReportLimits& limits, std::int64_t maxIntervals = 21) {
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 63; ++s) {
    const int k = s / 3;
    auto& r = test::appendRecord(*store, 10, 4, 20, 10, s / 60, s % 60);
    r.setValue(cells::harmonic(Ua, 1), 100.0f);
    r.setValue(cells::harmonic(Ua, 2), k == 8 || k == 15 ? 1.7f : 0.8f);
    r.setValue(cells::harmonic(Ua, 5), k == 3 ? 3.6f : 2.9f);
    r.setValue(cells::harmonic(Ia, 1), 212.0f);
    r.setValue(cells::harmonic(Ia, 5), k == 6 || k == 11 ? 21.4f : 18.3f);
  }
  NinetyFivePercentSink sink(harmonicQuantities(limits), maxIntervals);
  IntervalAggregator aggregator(sink);
  for (int i = 0; i < store->recordCount(); ++i) aggregator.add(store->record(i), *recordSeconds(*store, i), RecordMark::None);
  aggregator.finish();
  return sink;
}

TEST(HarmonicAssessment, EachOrderIsJudgedByThe95PercentValueOfItsThreeSecondValues) {
  const ReportLimits limits = tenKilovoltLimits();
  const NinetyFivePercentSink sink = assessedHour(limits);
  const auto indices = assessHarmonics(sink, kAppendixCExponents);
  ASSERT_EQ(indices.size(), 3u * 25 + 3u * 24);

  struct Case {
    int channel, order;
    double limit, p95, max, passRate;
    Verdict verdict;
  };
  // Of 21 values the 95 % value is the 2nd largest. Ua's distortion: sqrt(0.8² + 2.9²) = 3.0083 %,
  // sqrt(1.7² + 2.9²) = 3.3615 % in intervals 8 and 15, sqrt(0.8² + 3.6²) = 3.6878 % in interval 3.
  const Case cases[] = {
      {Ua, 2, 1.6, 1.7, 1.7, 100.0 * 19 / 21, Verdict::Fail},
      {Ua, 5, 3.2, 2.9, 3.6, 100.0 * 20 / 21, Verdict::Pass},  // the largest over, the 95 % value not
      {Ua, 0, 4.0, std::sqrt(11.3), std::sqrt(13.6), 100.0, Verdict::Pass},
      {Ia, 5, 20.0, 21.4, 21.4, 100.0 * 19 / 21, Verdict::Fail},
      {Ub, 3, 3.2, 0, 0, 100.0, Verdict::Pass},  // no fundamental: contents of 0
  };
  for (const Case& c : cases) {
    const IndexAssessment& index = find(indices, c.channel, c.order).index;
    const std::string what = std::string(kChannelNames[c.channel]) + " " + std::to_string(c.order);
    EXPECT_NEAR(index.upperLimit, c.limit, 1e-6) << what;
    EXPECT_NEAR(index.p95, c.p95, 1e-4) << what;
    EXPECT_NEAR(index.max, c.max, 1e-4) << what;
    EXPECT_NEAR(index.passRate, c.passRate, 1e-9) << what;
    EXPECT_EQ(index.values, 21) << what;
    EXPECT_EQ(index.verdict, c.verdict) << what;
    EXPECT_NE(index.method.find("GB/T 14549"), std::string::npos);
  }
}

TEST(HarmonicAssessment, WhatCannotBeJudgedGetsNoVerdictAndSaysWhy) {
  const ReportLimits limits = tenKilovoltLimits();
  // Sized for fewer intervals than came: the 2nd largest of 21 was not kept.
  const auto undersized = assessHarmonics(assessedHour(limits, 20), kAppendixCExponents);
  EXPECT_FALSE(find(undersized, Ua, 5).index.judged());
  EXPECT_EQ(find(undersized, Ua, 5).index.reason, messages::kNinetyFiveUnknown);
  EXPECT_TRUE(std::isnan(find(undersized, Ua, 5).index.p95));

  // Limits never set (a level the tables do not know) are 0: nothing is judged against them.
  const auto unset = assessHarmonics(assessedHour(ReportLimits{}), kAppendixCExponents);
  for (const HarmonicIndex& h : unset) {
    EXPECT_FALSE(h.index.judged());
    EXPECT_EQ(h.index.reason, messages::kInvalidLimits);
  }

  const NinetyFivePercentSink empty(harmonicQuantities(limits), 100);
  for (const HarmonicIndex& h : assessHarmonics(empty, kAppendixCExponents))
    EXPECT_EQ(h.index.reason, messages::kNoThreeSecondValues);
}

}  // namespace
}  // namespace pq
