#include "assessment/HarmonicAssessment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "assessment/AssessmentMessages.h"
#include "assessment/LimitSet.h"
#include "records/RecordStore.h"
#include "records/RecordHead.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

// A 10 kV level (code 3) at the base short-circuit capacity with the user taking the whole supply: the
// tabled limits, Ua 2nd 1.6 %, 5th 3.2 %, distortion 4 %, Ia 5th 20 A.
RecordHead tenKilovoltHead() {
  RecordHead head;
  head.voltageLevelCode = 3;
  head.minShortCircuitCapacity = 100;
  head.supplyEquipmentCapacity = 10;
  head.agreedCapacity = 10;
  return head;
}

HarmonicLimits tenKilovoltLimits(const AssessmentLimits& limits = {}) { return harmonicLimitsOf(limits, tenKilovoltHead()); }

const HarmonicIndex& find(const std::vector<HarmonicIndex>& indices, int channel, int order) {
  return *std::find_if(indices.begin(), indices.end(),
                       [&](const HarmonicIndex& h) { return h.channel == channel && h.order == order; });
}

// 21 3-second intervals of Ua (fundamental 100) and Ia whose three records are alike: Ua's 2nd
// harmonic 0.8 % but 1.7 % in intervals 8 and 15, its 5th 2.9 % but 3.6 % in interval 3; Ia's 5th
// 18.3 A but 21.4 A in intervals 6 and 11.
NinetyFivePercentSink assessedHour(const HarmonicLimits& limits, std::int64_t maxIntervals = 21) {
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
  const HarmonicLimits limits = tenKilovoltLimits();
  const NinetyFivePercentSink sink = assessedHour(limits);
  const auto indices = assessHarmonics(sink, limits);
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
  const HarmonicLimits limits = tenKilovoltLimits();
  // Sized for fewer intervals than came: the 2nd largest of 21 was not kept.
  const auto undersized = assessHarmonics(assessedHour(limits, 20), limits);
  EXPECT_FALSE(find(undersized, Ua, 5).index.judged());
  EXPECT_EQ(find(undersized, Ua, 5).index.reason, messages::kNinetyFiveUnknown);
  EXPECT_TRUE(std::isnan(find(undersized, Ua, 5).index.p95));

  // A level the tables do not know leaves every limit at 0: nothing is judged against them.
  RecordHead unknownLevel = tenKilovoltHead();
  unknownLevel.voltageLevelCode = 7;
  const HarmonicLimits unset = harmonicLimitsOf(AssessmentLimits{}, unknownLevel);
  const auto unsetIndices = assessHarmonics(assessedHour(unset), unset);
  for (const HarmonicIndex& h : unsetIndices) {
    EXPECT_FALSE(h.index.judged());
    EXPECT_EQ(h.index.reason, messages::kInvalidLimits);
    EXPECT_TRUE(h.index.method.ends_with("不计。记录的电压等级不在限值表中，谐波无限值。")) << h.index.method;
  }

  const NinetyFivePercentSink empty(harmonicQuantities(limits), 100);
  for (const HarmonicIndex& h : assessHarmonics(empty, limits))
    EXPECT_EQ(h.index.reason, messages::kNoThreeSecondValues);
}

// A limit file's value of one order, of the distortion or of one order's tabled current changes the limit
// and the verdict of that order alone, in each channel it applies to; a value of another level changes
// nothing. Everything else is judged as by the shipped set, and the method names what was used.
TEST(HarmonicAssessment, ALimitFileChangesTheVerdictsOfTheOrderItSetsOnly) {
  const std::vector<HarmonicIndex> shipped =
      assessHarmonics(assessedHour(tenKilovoltLimits()), tenKilovoltLimits());
  const std::string shippedLimits =
      "限值（10KV）：电压总谐波畸变率4%，谐波电压含有率奇次3.2%、偶次1.6%；谐波电流允许值由基准短路容量100MVA时的"
      "允许值按最小短路容量100MVA和协议容量10MVA与供电设备容量10MVA之比换算，叠加指数α：3次1.1、5次1.2、7次1.4、"
      "11次1.8、13次1.9、其余2.0。";
  ASSERT_FALSE(shipped.empty());
  EXPECT_TRUE(shipped.front().index.method.ends_with(shippedLimits)) << shipped.front().index.method;

  struct Changed {
    int channel, order;
    double limit;
    Verdict verdict;
  };
  struct Case {
    const char* copy;
    std::vector<Changed> changed;
    const char* method;  // the method's text from the voltage limits on
  };
  // Ua's 5th: 95 % value 2.9 %; its distortion 3.3615 %; Ia's 5th 21.4 A. Ub, Uc, Ib and Ic hold 0.
  const Case cases[] = {
      {R"({"harmonicVoltage": {"10kV": {"orders": {"5": 2.65}}}})",
       {{Ua, 5, 2.65, Verdict::Fail}, {Ub, 5, 2.65, Verdict::Pass}, {Uc, 5, 2.65, Verdict::Pass}},
       "电压总谐波畸变率4%，谐波电压含有率奇次3.2%（5次2.65%）、偶次1.6%；"},
      {R"({"harmonicVoltage": {"10kV": {"thd": 3.15, "orders": {"4": 1.45, "6": 1.45}}}})",
       {{Ua, 0, 3.15, Verdict::Fail}, {Ub, 0, 3.15, Verdict::Pass}, {Uc, 0, 3.15, Verdict::Pass},
        {Ua, 4, 1.45, Verdict::Pass}, {Ub, 4, 1.45, Verdict::Pass}, {Uc, 4, 1.45, Verdict::Pass},
        {Ua, 6, 1.45, Verdict::Pass}, {Ub, 6, 1.45, Verdict::Pass}, {Uc, 6, 1.45, Verdict::Pass}},
       "电压总谐波畸变率3.15%，谐波电压含有率奇次3.2%、偶次1.6%（4次1.45%、6次1.45%）；"},
      {R"({"harmonicCurrent": {"10kV": {"orders": {"5": 22.5}}}})",
       {{Ia, 5, 22.5, Verdict::Pass}, {Ib, 5, 22.5, Verdict::Pass}, {Ic, 5, 22.5, Verdict::Pass}},
       "电压总谐波畸变率4%，谐波电压含有率奇次3.2%、偶次1.6%；"},
      {R"({"harmonicVoltage": {"35kV": {"orders": {"5": 1.25}}}})", {},
       "电压总谐波畸变率4%，谐波电压含有率奇次3.2%、偶次1.6%；"},
  };
  const test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copy);
    const std::string copy = dir.file("mine.json");
    test::writeBytes(copy, std::vector<std::uint8_t>(c.copy, c.copy + std::string(c.copy).size()));
    const LoadedLimitSet loaded = loadLimitSet(defaultLimitSetFile(), copy);
    ASSERT_TRUE(loaded.messages.empty()) << loaded.messages.front();
    const HarmonicLimits limits = tenKilovoltLimits(loaded.set.limits);
    const std::vector<HarmonicIndex> indices = assessHarmonics(assessedHour(limits), limits);
    ASSERT_EQ(indices.size(), shipped.size());
    for (std::size_t k = 0; k < indices.size(); ++k) {
      const HarmonicIndex& h = indices[k];
      const std::string what = std::string(kChannelNames[h.channel]) + " " + std::to_string(h.order);
      const auto changed = std::find_if(c.changed.begin(), c.changed.end(), [&](const Changed& x) {
        return x.channel == h.channel && x.order == h.order;
      });
      if (changed == c.changed.end()) {
        EXPECT_EQ(h.index.upperLimit, shipped[k].index.upperLimit) << what;
        EXPECT_EQ(h.index.verdict, shipped[k].index.verdict) << what;
      } else {
        EXPECT_NEAR(h.index.upperLimit, changed->limit, 1e-6) << what;
        EXPECT_EQ(h.index.verdict, changed->verdict) << what;
      }
    }
    EXPECT_NE(indices.front().index.method.find(std::string("限值（10KV）：") + c.method), std::string::npos)
        << indices.front().index.method;
  }
}

}  // namespace
}  // namespace pq
