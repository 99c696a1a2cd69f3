#include "timerange/CalendarDateTime.h"

#include <gtest/gtest.h>

#include "base/ConversionError.h"

namespace pq {
namespace {

TEST(CalendarDateTimeTest, ReadsDateTimeTexts) {
  EXPECT_EQ(CalendarDateTime::parse("2010-3-19 16:40:00"), (CalendarDateTime{2010, 3, 19, 16, 40, 0}));
  EXPECT_EQ(CalendarDateTime::parse("2012-02-29 23:59:59"), (CalendarDateTime{2012, 2, 29, 23, 59, 59}));
  EXPECT_EQ(CalendarDateTime::parse("2000-2-29 0:0:00"), (CalendarDateTime{2000, 2, 29, 0, 0, 0}));
  for (const char* text : {"2011-2-29 0:0:00", "2100-2-29 0:0:00", "2010-4-31 0:0:00", "2010-13-1 0:0:00",
                           "2010-0-1 0:0:00", "2010-1-1 24:0:00", "2010-1-1 0:60:00", "2010-1-1 0:0",
                           "2010-1-1", "2010-1-1 0:0:00 ", "2010-1--1 0:0:00", "2010-a-1 0:0:00", ""}) {
    EXPECT_THROW(CalendarDateTime::parse(text), ConversionError) << text;
  }
}

TEST(CalendarDateTimeTest, OrdersByEveryField) {
  const CalendarDateTime t{2010, 4, 19, 15, 40, 0};
  EXPECT_LT(t, (CalendarDateTime{2010, 4, 19, 15, 40, 1}));
  EXPECT_LT(t, (CalendarDateTime{2010, 5, 1, 0, 0, 0}));
  EXPECT_GT(t, (CalendarDateTime{2009, 12, 31, 23, 59, 59}));
}

TEST(CalendarDateTimeTest, SevenDaysBack) {
  EXPECT_EQ((CalendarDate{2010, 4, 3}.minusDays(7)), (CalendarDate{2010, 3, 27}));
  EXPECT_EQ((CalendarDate{2012, 3, 5}.minusDays(7)), (CalendarDate{2012, 2, 27}));
  EXPECT_EQ((CalendarDate{2011, 1, 3}.minusDays(7)), (CalendarDate{2010, 12, 27}));
}

}  // namespace
}  // namespace pq
