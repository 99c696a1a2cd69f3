#include "assessment/AssessmentTexts.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

std::int64_t at(int day, int hour, int minute, int second) {
  return epochSeconds({2010, 4, day, hour, minute, second});
}

TEST(AssessmentTexts, AGapTextLeavesOutTheDateOfItsEndOnTheSameDay) {
  EXPECT_EQ(gapText({at(20, 0, 0, 0), at(20, 0, 15, 0)}), "2010-04-20 00:00:00 – 00:15:00 无数据");
  EXPECT_EQ(gapText({at(19, 23, 52, 13), at(20, 0, 7, 13)}),
            "2010-04-19 23:52:13 – 2010-04-20 00:07:13 无数据");
}

TEST(AssessmentTexts, PhaseLabelsOfFourAndThreeWireSupplies) {
  const struct {
    int phase;
    bool lineVoltages;
    const char* label;
  } cases[] = {{0, false, "A"}, {1, false, "B"}, {2, false, "C"}, {0, true, "AB"}, {1, true, "BC"}, {2, true, "CA"}};
  for (const auto& c : cases) EXPECT_STREQ(phaseLabel(c.phase, c.lineVoltages), c.label) << c.label;
}

}  // namespace
}  // namespace pq
