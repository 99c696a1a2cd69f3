#include "aggregation/RecordTimeGate.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(RecordTimeGate, EpochSecondsCountFromTheRecordingsMidnight) {
  EXPECT_EQ(epochSeconds({2000, 1, 1, 0, 0, 0}), 946684800);
  const CalendarDateTime t{2010, 4, 20, 13, 7, 45};
  EXPECT_EQ(calendarOfEpochSeconds(epochSeconds(t)), t);
  EXPECT_EQ(epochSeconds({2012, 3, 1, 0, 0, 0}) - epochSeconds({2012, 2, 28, 23, 59, 59}), 86401);
}

}  // namespace
}  // namespace pq
