#include "assessment/EventClasses.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pq {
namespace {

using ::testing::ElementsAre;

VoltageEvent event(VoltageEventKind kind, int seconds, double percent) {
  return {kind, 0, 0, seconds, seconds, 1, {true, false, false}, 0, percent, false};
}

std::vector<std::string> titlesOf(const EventClassTable& table) {
  std::vector<std::string> titles;
  for (const EventClassTable::Column& column : table.columns) titles.push_back(column.title);
  return titles;
}

TEST(EventClassTable, DurationClassesShorterThanTheIntervalMerge) {
  struct Case {
    int recordSeconds;
    std::vector<std::string> titles;
    std::string note;
  };
  const Case cases[] = {
      {1,
       {"10 ms≤t≤1 s", "1 s<t≤5 s", "5 s<t≤60 s"},
       "记录间隔1 s，分辨不出其中的持续时间：10 ms≤t≤200 ms、200 ms<t≤500 ms、500 ms<t≤1 s合为10 ms≤t≤1 s一栏。"},
      {3,
       {"10 ms≤t≤5 s", "5 s<t≤60 s"},
       "记录间隔3 s，分辨不出其中的持续时间：10 ms≤t≤200 ms、200 ms<t≤500 ms、500 ms<t≤1 s、1 s<t≤5 s合为"
       "10 ms≤t≤5 s一栏。"},
      {60,
       {"10 ms≤t≤60 s"},
       "记录间隔60 s，分辨不出其中的持续时间：10 ms≤t≤200 ms、200 ms<t≤500 ms、500 ms<t≤1 s、1 s<t≤5 s、"
       "5 s<t≤60 s合为10 ms≤t≤60 s一栏。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recordSeconds);
    const EventClassTable table = eventClassTable({}, c.recordSeconds);
    EXPECT_EQ(titlesOf(table), c.titles);
    EXPECT_EQ(table.mergeNote, c.note);
  }
}

TEST(EventClassTable, EachShortEventCountsInItsBandAndColumn) {
  const std::vector<VoltageEvent> events{
      event(VoltageEventKind::Dip, 3, 61.25),           // 70>u≥40, 1-5 s
      event(VoltageEventKind::Dip, 1, 80),              // 90>u≥80 (bound included), ≤1 s
      event(VoltageEventKind::Dip, 7, 40),              // 70>u≥40 (bound included), 5-60 s
      event(VoltageEventKind::Interruption, 5, 4.5),    // 10>u, 1-5 s (bound included)
      event(VoltageEventKind::Swell, 1, 115.5),         // 120>u>110, ≤1 s
      event(VoltageEventKind::Swell, 30, 120),          // u≥120, 5-60 s
      event(VoltageEventKind::Undervoltage, 70, 75.5),  // not one of GB/T 30137's
  };
  const EventClassTable table = eventClassTable(events, 1);
  std::vector<std::string> bands;
  for (const auto& band : table.swellBands) bands.push_back(band.title);
  for (const auto& band : table.dipBands) bands.push_back(band.title);
  EXPECT_THAT(bands, ElementsAre("u≥120", "120>u>110", "90>u≥80", "80>u≥70", "70>u≥40", "40>u≥10", "10>u"));
  EXPECT_THAT(table.counts, ElementsAre(ElementsAre(0, 0, 1), ElementsAre(1, 0, 0), ElementsAre(1, 0, 0),
                                        ElementsAre(0, 0, 0), ElementsAre(0, 1, 1), ElementsAre(0, 0, 0),
                                        ElementsAre(0, 1, 0)));
}

}  // namespace
}  // namespace pq
