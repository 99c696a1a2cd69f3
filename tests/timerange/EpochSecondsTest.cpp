#include "timerange/EpochSeconds.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

TEST(EpochSeconds, CountFromTheRecordingsMidnight) {
  EXPECT_EQ(epochSeconds({2000, 1, 1, 0, 0, 0}), 946684800);
  const CalendarDateTime t{2010, 4, 20, 13, 7, 45};
  EXPECT_EQ(calendarOfEpochSeconds(epochSeconds(t)), t);
  EXPECT_EQ(epochSeconds({2012, 3, 1, 0, 0, 0}) - epochSeconds({2012, 2, 28, 23, 59, 59}), 86401);
  EXPECT_EQ(epochTimeText(epochSeconds(t)), "2010-04-20 13:07:45");
}

// A stamp that is no date-time must come back as nothing rather than throw, since the time gate and
// the survey's file order count such records instead of stopping at them.
TEST(EpochSeconds, RecordSecondsOfDatedAndUndatableStamps) {
  struct Case {
    const char* what;
    unsigned bytes[6];
    std::optional<std::int64_t> expected;
  };
  const Case cases[] = {
      {"a valid stamp", {0x10, 0x04, 0x20, 0x13, 0x07, 0x45}, epochSeconds({2010, 4, 20, 13, 7, 45})},
      {"a leap day", {0x12, 0x02, 0x29, 0x00, 0x00, 0x00}, epochSeconds({2012, 2, 29, 0, 0, 0})},
      {"month 13", {0x10, 0x13, 0x20, 0x10, 0x00, 0x02}, std::nullopt},
      {"29 February of a common year", {0x11, 0x02, 0x29, 0x00, 0x00, 0x00}, std::nullopt},
      {"hour 24", {0x10, 0x04, 0x20, 0x24, 0x00, 0x00}, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto store = std::make_unique<RecordStore>();
    test::setTimeBytes(test::appendRecord(*store, 10, 1, 1, 0, 0), c.bytes);
    EXPECT_EQ(recordSeconds(*store, 0), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace pq
