#include "timerange/TimeRangeSelection.h"

#include <gtest/gtest.h>

#include "base/ConversionError.h"
#include "support/StoreBuilder.h"
#include "timerange/RecordSpan.h"

namespace pq {
namespace {

using test::appendRecord;
using test::FixedClock;

constexpr char kNoRecords[] = "该时间段记录个数为零，请重新输入时间。";
constexpr char kClockWrong[] = "仪器时间或系统时间不对，请调整时间。";

DateFieldGroup fields(const char* y, const char* mo, const char* d, const char* h, const char* mi) {
  return DateFieldGroup{{y, mo, d, h, mi}};
}

class TimeRangeSelectionTest : public ::testing::Test {
 protected:
  void threeRecords() {
    appendRecord(store, 2010, 4, 19, 15, 39);
    appendRecord(store, 2010, 4, 19, 15, 40);
    appendRecord(store, 2010, 4, 19, 15, 41);
  }
  std::optional<std::string> custom(DateFieldGroup from, DateFieldGroup to) {
    selection.mode = TimeRangeMode::Custom;
    selection.start = from;
    selection.end = to;
    return selection.selectTimeRange(store);
  }
  IndexRange range() const { return {store.rangeStart, store.rangeEnd}; }

  RecordStore store;
  FixedClock clock{{2010, 4, 19}};
  TimeRangeSelection selection{clock};
};

struct CustomCase {
  DateFieldGroup from, to;
  IndexRange expected;
  const char* message;  // nullptr: none
};

TEST_F(TimeRangeSelectionTest, CustomSpans) {
  threeRecords();
  const CustomCase cases[] = {
      // The end minute reaches to second 58, so 15:40 to 15:40 holds the 15:40 record only.
      {fields("2010", "4", "19", "15", "40"), fields("2010", "4", "19", "15", "40"), {1, 2}, nullptr},
      {fields("2010", "4", "19", "15", "39"), fields("2010", "4", "19", "15", "40"), {0, 2}, nullptr},
      {fields("2010", "04", "19", "15", "00"), fields("2010", "4", "19", "16", "00"), {0, 3}, nullptr},
      {fields(" 2010", "4", "19", "15", "41 "), fields("2010", "4", "19", "15", "41"), {2, 3}, nullptr},
      {fields("2010", "4", "19", "15", "42"), fields("2010", "4", "20", "0", "0"), {0, 0}, kNoRecords},
      {fields("2010", "4", "19", "14", "0"), fields("2010", "4", "19", "15", "0"), {0, 0}, kNoRecords},
      {fields("2010", "4", "19", "16", "0"),
       fields("2010", "4", "19", "15", "0"),
       {0, 0},
       "终止时间必须大于开始时间，请重新输入。"},
  };
  for (const auto& c : cases) {
    store.rangeStart = store.rangeEnd = 7;
    const auto message = custom(c.from, c.to);
    EXPECT_EQ(range(), c.expected) << c.from.dateTimeText(":00") << " .. " << c.to.dateTimeText(":59");
    EXPECT_EQ(message.value_or(""), c.message ? c.message : "");
  }
}

TEST_F(TimeRangeSelectionTest, InvalidDateTimesKeepThePreviousRange) {
  threeRecords();
  store.rangeStart = 1;
  store.rangeEnd = 3;
  EXPECT_THROW(custom(fields("2010", "2", "30", "0", "0"), fields("2010", "4", "20", "0", "0")),
               ConversionError);
  EXPECT_THROW(custom(fields("2010", "4", "19", "0", "0"), fields("2010", "4", "31", "0", "0")),
               ConversionError);
  // A record whose BCD month reads 13.
  test::setTimeBytes(store.record(2), {0x10, 0x13, 0x01, 0x00, 0x00, 0x00});
  EXPECT_THROW(custom(fields("2010", "4", "19", "0", "0"), fields("2010", "4", "19", "23", "0")),
               ConversionError);
  EXPECT_EQ(range(), (IndexRange{1, 3}));
}

TEST_F(TimeRangeSelectionTest, DayScanMeetingATimeByteThatIsNoBcdNumber) {
  // Month byte 0x1A spells no decimal number: the scan stops with a conversion error before it
  // reaches the matching record, and the range stays.
  appendRecord(store, 2010, 4, 19, 8, 0);
  test::setTimeBytes(store.record(0), {0x10, 0x1A, 0x19, 0x08, 0x00, 0x00});
  appendRecord(store, 2010, 4, 19, 9, 0);
  store.rangeStart = 0;
  store.rangeEnd = 1;
  for (const TimeRangeMode mode : {TimeRangeMode::CurrentDay, TimeRangeMode::LastWeek}) {
    selection.mode = mode;
    EXPECT_THROW(selection.selectTimeRange(store), ConversionError);
    EXPECT_EQ(range(), (IndexRange{0, 1}));
  }
}

TEST_F(TimeRangeSelectionTest, ShowAllAndSwitchedOff) {
  threeRecords();
  selection.mode = TimeRangeMode::ShowAll;
  EXPECT_FALSE(selection.selectTimeRange(store));
  EXPECT_EQ(range(), (IndexRange{0, 3}));

  selection.mode = TimeRangeMode::None;
  store.rangeStart = 1;
  EXPECT_FALSE(selection.selectTimeRange(store));
  EXPECT_EQ(range(), (IndexRange{1, 3}));

  selection.timeQuery = false;
  EXPECT_FALSE(selection.selectTimeRange(store));
  EXPECT_EQ(range(), (IndexRange{0, 0}));
}

TEST_F(TimeRangeSelectionTest, EmptyStoreLeavesTheRange) {
  store.rangeStart = 4;
  store.rangeEnd = 5;
  selection.mode = TimeRangeMode::ShowAll;
  EXPECT_FALSE(selection.selectTimeRange(store));
  EXPECT_EQ(range(), (IndexRange{4, 5}));
}

struct DayCase {
  const char* name;
  TimeRangeMode mode;
  CalendarDate today;
  std::vector<CalendarDate> records;
  IndexRange expected;
  const char* message;
};

TEST(TimeRangeSelectionDays, CurrentDayAndLastWeek) {
  const DayCase cases[] = {
      {"today from the second record",
       TimeRangeMode::CurrentDay,
       {2010, 4, 19},
       {{2010, 4, 18}, {2010, 4, 19}, {2010, 4, 19}},
       {1, 3},
       nullptr},
      {"all from yesterday",
       TimeRangeMode::CurrentDay,
       {2010, 4, 19},
       {{2010, 4, 18}, {2010, 4, 18}},
       {2, 2},
       nullptr},
      {"tomorrow before today",
       TimeRangeMode::CurrentDay,
       {2010, 4, 19},
       {{2010, 4, 20}, {2010, 4, 19}},
       {2, 2},
       kClockWrong},
      {"a later year", TimeRangeMode::CurrentDay, {2010, 4, 19}, {{2011, 1, 1}}, {1, 1}, kClockWrong},
      {"records of 2005 compare as 2005",
       TimeRangeMode::CurrentDay,
       {2005, 6, 1},
       {{2005, 5, 31}, {2005, 6, 1}},
       {1, 2},
       nullptr},
      // 3 April minus seven days is 27 March; a record of 1 April is in a later month.
      {"last week across a month",
       TimeRangeMode::LastWeek,
       {2010, 4, 3},
       {{2010, 4, 1}, {2010, 4, 2}},
       {2, 2},
       kClockWrong},
      {"last week from a later day",
       TimeRangeMode::LastWeek,
       {2010, 4, 19},
       {{2010, 4, 1}, {2010, 4, 14}, {2010, 4, 19}},
       {1, 3},
       nullptr},
      {"last week across a year",
       TimeRangeMode::LastWeek,
       {2011, 1, 3},
       {{2010, 12, 20}, {2010, 12, 27}, {2011, 1, 2}},
       {1, 3},
       nullptr},
  };
  for (const auto& c : cases) {
    RecordStore store;
    for (const auto& d : c.records) appendRecord(store, d.year, d.month, d.day, 12, 0);
    FixedClock clock(c.today);
    TimeRangeSelection selection(clock);
    selection.mode = c.mode;
    const auto message = selection.selectTimeRange(store);
    EXPECT_EQ((IndexRange{store.rangeStart, store.rangeEnd}), c.expected) << c.name;
    EXPECT_EQ(message.value_or(""), c.message ? c.message : "") << c.name;
  }
}

TEST_F(TimeRangeSelectionTest, ResetAndShowRangeInFields) {
  appendRecord(store, 2009, 12, 31, 23, 5);
  appendRecord(store, 2010, 1, 2, 0, 0);
  selection.mode = TimeRangeMode::Custom;
  selection.timeQuery = false;
  selection.reset(fields("2010", "04", "19", "15", "40"), fields("2010", "04", "20", "08", "20"));
  EXPECT_TRUE(selection.timeQuery);
  EXPECT_EQ(selection.mode, TimeRangeMode::ShowAll);
  EXPECT_FALSE(selection.customFieldsEnabled());
  EXPECT_EQ(selection.end.texts[4], "20");
  selection.showRangeInFields(store);
  EXPECT_EQ(selection.start.texts, (std::array<std::string, 5>{"2009", "12", "31", "23", "5"}));
  EXPECT_EQ(selection.end.texts, (std::array<std::string, 5>{"2010", "1", "2", "0", "0"}));
}

}  // namespace
}  // namespace pq
