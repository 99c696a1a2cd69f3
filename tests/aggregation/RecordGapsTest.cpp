#include "aggregation/RecordGaps.h"

#include <gtest/gtest.h>

#include <vector>

#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

std::int64_t at(int day, int hour, int minute, int second) {
  return epochSeconds({2010, 4, day, hour, minute, second});
}

TEST(RecordGaps, TheRecordingIntervalIsTheMostCommonStepAndTheShorterOfATie) {
  struct Case {
    std::vector<std::int64_t> times;
    std::optional<int> interval;
  };
  const Case cases[] = {
      {{}, std::nullopt},
      {{1007}, std::nullopt},
      {{1007, 1010}, 3},
      // A lost record and a long pause do not outvote the interval.
      {{1007, 1067, 1187, 1247, 1307, 5011}, 60},
      // Two steps of 3 and two of 7: the shorter.
      {{100, 107, 110, 117, 120}, 3},
  };
  for (const auto& c : cases) EXPECT_EQ(recordingInterval(c.times), c.interval) << c.times.size();
}

TEST(RecordGaps, AStepLongerThanOneAndAHalfIntervalsIsAGapFromTheFirstDueToTheLastMissingRecord) {
  struct Case {
    std::int64_t before, after;
    int interval;
    std::optional<std::int64_t> from, to;
  };
  const std::int64_t t = at(19, 23, 59, 0);
  const Case cases[] = {
      {t, t + 2, 1, std::nullopt, std::nullopt},  // a second slipped
      {t, t + 3, 1, t + 1, t + 2},
      {t, t + 90, 60, std::nullopt, std::nullopt},
      {t, t + 91, 60, t + 60, t + 60},  // the record due at t + 60 came half an interval and a second late
      {t, t + 120, 60, t + 60, t + 60},
      {t, t + 17 * 60, 60, at(20, 0, 0, 0), at(20, 0, 15, 0)},
      {t, t + 4, 3, std::nullopt, std::nullopt},
      {t, t + 5, 3, t + 3, t + 3},
  };
  for (const auto& c : cases) {
    const auto gap = gapBetween(c.before, c.after, c.interval);
    ASSERT_EQ(gap.has_value(), c.from.has_value()) << c.after - c.before << " / " << c.interval;
    if (gap) {
      EXPECT_EQ(gap->from, *c.from);
      EXPECT_EQ(gap->to, *c.to);
    }
  }
}

}  // namespace
}  // namespace pq
