#include "base/DurationText.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(DurationTextTest, HoursMinutesAndSecondsAsPeopleReadThem) {
  const struct {
    std::int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "0 s"},
      {7, "7 s"},
      {45, "45 s"},
      {60, "1 min 00 s"},
      {123, "2 min 03 s"},
      {3599, "59 min 59 s"},
      {3600, "1 h 00 min 00 s"},
      {3723, "1 h 02 min 03 s"},
      {36005, "10 h 00 min 05 s"},
      {93600, "26 h 00 min 00 s"},
      {-5, "0 s"},
  };
  for (const auto& c : cases) EXPECT_EQ(durationText(c.seconds), c.text) << c.seconds;
}

}  // namespace
}  // namespace pq
