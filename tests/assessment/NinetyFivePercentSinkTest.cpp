#include "assessment/NinetyFivePercentSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "aggregation/AggregatedQuantities.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

// `intervals` 3-second intervals from 10:00:00 whose three records hold a third harmonic content of
// contentOf(k) % in interval k; the intervals in `flagged` lie in a voltage event.
template <typename Content>
void feed(NinetyFivePercentSink& sink, int intervals, Content contentOf, int flagged = -1) {
  auto store = std::make_unique<RecordStore>();
  for (int s = 0; s < 3 * intervals; ++s) {
    auto& r = test::appendRecord(*store, 10, 4, 20, 10 + s / 3600, s / 60 % 60, s % 60);
    r.setValue(cells::harmonic(Ua, 1), 100.0f);
    r.setValue(cells::harmonic(Ua, 3), static_cast<float>(contentOf(s / 3)));
  }
  IntervalAggregator aggregator(sink);
  for (int i = 0; i < store->recordCount(); ++i)
    aggregator.add(store->record(i), *recordSeconds(*store, i), i / 3 == flagged ? RecordMark::Event : RecordMark::None);
  aggregator.finish();
}

const int kThird = harmonicContentQuantity(Ua, 3);

TEST(NinetyFivePercentSink, KeepsOnlyTheLargestTwentiethAndStillFindsTheExactValue) {
  // 400 intervals holding 1.00 .. 4.99 % in a scrambled order (7 k mod 400): the 95 % value is the
  // 20th largest, 4.80 %, and the sink keeps no more than 40 values.
  NinetyFivePercentSink sink({{kThird, 3.0}}, 400);
  feed(sink, 400, [](int k) { return 1.0 + (7 * k % 400) / 100.0; });
  const auto s = sink.summary(0);
  EXPECT_EQ(s.values, 400);
  EXPECT_EQ(s.within, 201);  // 1.00 .. 3.00
  EXPECT_NEAR(s.p95, 4.80, 1e-5);
  EXPECT_NEAR(s.max, 4.99, 1e-5);
  EXPECT_NEAR(s.min, 1.00, 1e-5);
  EXPECT_NEAR(s.mean, 2.995, 1e-5);
}

TEST(NinetyFivePercentSink, CutsItsFullBufferToTheLargestWithoutLosingTies) {
  // 1000 intervals rising four times through 1.00 .. 3.49 %, so that each value comes four times and
  // every rise fills the buffer of 2 x 50 again: the 95 % value is the 50th largest, the 13th value
  // from the top, 3.37 %.
  NinetyFivePercentSink sink({{kThird, 3.0}}, 1000);
  feed(sink, 1000, [](int k) { return 1.0 + (k % 250) / 100.0; });
  const auto s = sink.summary(0);
  EXPECT_EQ(s.values, 1000);
  EXPECT_NEAR(s.p95, 3.37, 1e-5);
  EXPECT_NEAR(s.max, 3.49, 1e-5);
}

TEST(NinetyFivePercentSink, LeavesOutFlaggedIntervalsAndNeverGuessesBeyondWhatItKept) {
  // 21 intervals at 1.31 % but interval 4 at 2.77 % and interval 17 at 2.05 %: the 2nd largest is
  // 2.05 %. With interval 4 in an event, 20 values remain and the largest of them, 2.05 %, is their
  // 95 % value.
  const auto content = [](int k) { return k == 4 ? 2.77 : k == 17 ? 2.05 : 1.31; };
  struct Case {
    const char* what;
    std::int64_t maxIntervals;
    int flagged;
    int values;
    double p95;  // not a number: unknown
  };
  const double unknown = std::nan("");
  const Case cases[] = {
      {"room for exactly the rank", 21, -1, 21, 2.05}, {"more room than needed", 5000, -1, 21, 2.05},
      {"flagged largest left out", 21, 4, 20, 2.05},   {"more intervals than announced", 20, -1, 21, unknown},
      {"fewer than 20 values", 19, -1, 21, unknown},
  };
  for (const Case& c : cases) {
    NinetyFivePercentSink sink({{kThird, 2.0}}, c.maxIntervals);
    feed(sink, 21, content, c.flagged);
    const auto s = sink.summary(0);
    EXPECT_EQ(s.values, c.values) << c.what;
    EXPECT_EQ(sink.flaggedIntervals(), c.flagged >= 0 ? 1 : 0) << c.what;
    if (std::isnan(c.p95)) {
      EXPECT_TRUE(std::isnan(s.p95)) << c.what << ": " << s.p95;
    } else {
      EXPECT_NEAR(s.p95, c.p95, 1e-5) << c.what;
    }
  }
}

TEST(NinetyFivePercentSink, AQuantityWithoutValuesHasNoStatistics) {
  NinetyFivePercentSink sink({{harmonicContentQuantity(Ub, 5), 4.0}}, 100);
  feed(sink, 3, [](int) { return 1.5; });  // Ub has no fundamental: its contents are 0, not missing
  EXPECT_EQ(sink.summary(0).values, 3);
  NinetyFivePercentSink none({{kThird, 4.0}}, 100);
  const auto s = none.summary(0);
  EXPECT_EQ(s.values, 0);
  EXPECT_TRUE(std::isnan(s.max) && std::isnan(s.min) && std::isnan(s.mean) && std::isnan(s.p95));
}

}  // namespace
}  // namespace pq
