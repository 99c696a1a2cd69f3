#include "assessment/VoltageEvents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "assessment/AssessmentMessages.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

constexpr double kDeclared = 230.0;

struct Phases {
  std::array<float, 3> min;
  std::array<float, 3> max;
};
constexpr Phases kNormal = {{224.6f, 225.1f, 223.9f}, {233.8f, 234.2f, 232.7f}};

std::int64_t at(int second) { return epochSeconds({2010, 4, 20, 10, 0, second}); }

// One record a second from 10:00:00 with the given phase minima and maxima; returns which records
// the detector put into an event.
std::vector<bool> detect(VoltageEventDetector& detector, const std::vector<Phases>& records) {
  auto store = std::make_unique<RecordStore>();
  constexpr int kMin[3] = {cells::uaMin, cells::ubMin, cells::ucMin};
  constexpr int kMax[3] = {cells::uaMax, cells::ubMax, cells::ucMax};
  std::vector<bool> inEvent;
  for (std::size_t s = 0; s < records.size(); ++s) {
    auto& r = test::appendRecord(*store, 10, 4, 20, 10, 0, static_cast<int>(s));
    for (int phase = 0; phase < 3; ++phase) {
      r.setValue(kMin[phase], records[s].min[phase]);
      r.setValue(kMax[phase], records[s].max[phase]);
    }
    const auto membership = detector.add(store->record(static_cast<int>(s)), at(static_cast<int>(s)), 1);
    inEvent.push_back(membership.dip >= 0 || membership.swell >= 0);
  }
  detector.finish();
  return inEvent;
}

TEST(VoltageEvents, ADipASwellAndAnInterruptionOfThreeTwoAndFiveRecords) {
  const std::vector<Phases> records = {
      kNormal,
      kNormal,
      {{224.6f, 150.0f, 223.9f}, kNormal.max},  // dip: B below 90 % (207 V)
      {{224.6f, 171.3f, 203.5f}, kNormal.max},  // B and C below
      {{224.6f, 210.1f, 223.9f}, kNormal.max},  // 91.3 %: not yet back at 92 % (211.6 V)
      kNormal,
      {kNormal.min, {262.7f, 234.2f, 232.7f}},  // swell: A above 110 % (253 V)
      {kNormal.min, {250.1f, 234.2f, 232.7f}},  // 108.7 %: not yet back at 108 % (248.4 V)
      kNormal,
      {{11.4f, 3.2f, 8.8f}, {12.0f, 4.1f, 9.9f}},  // every phase below 10 % (23 V)
      {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.5f}},
      {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.5f}},
      {{0.0f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.5f}},
      {{190.5f, 225.1f, 223.9f}, kNormal.max},  // A still below 90 %
      kNormal,
  };
  VoltageEventDetector detector(kDeclared);
  const auto inEvent = detect(detector, records);
  EXPECT_EQ(inEvent, (std::vector<bool>{false, false, true, true, true, false, true, true, false, true, true,
                                        true, true, true, false}));

  const auto& events = detector.events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, VoltageEventKind::Dip);
  EXPECT_EQ(events[0].start, at(2));
  EXPECT_EQ(events[0].lastRecord, at(4));
  EXPECT_EQ(events[0].records, 3);
  EXPECT_EQ(events[0].phases, (std::array<bool, 3>{false, true, true}));
  EXPECT_EQ(events[0].extreme, 150.0);
  EXPECT_NEAR(events[0].extremePercent, 65.217391, 1e-6);

  EXPECT_EQ(events[1].kind, VoltageEventKind::Swell);
  EXPECT_EQ(events[1].start, at(6));
  EXPECT_EQ(events[1].records, 2);
  EXPECT_EQ(events[1].phases, (std::array<bool, 3>{true, false, false}));
  EXPECT_EQ(events[1].extreme, static_cast<double>(262.7f));

  EXPECT_EQ(events[2].kind, VoltageEventKind::Interruption);
  EXPECT_EQ(events[2].start, at(9));
  EXPECT_EQ(events[2].records, 5);
  EXPECT_EQ(events[2].phases, (std::array<bool, 3>{true, true, true}));
  EXPECT_EQ(events[2].extreme, 0.0);
  for (const auto& e : events) EXPECT_FALSE(e.unfinished);

  // The dip (65.2 %) counts below 90 % and 70 %, the interruption (0 %) in all four; the swell in none.
  EXPECT_EQ(sarfiCounts(events), (SarfiCounts{2, 2, 1, 1}));
}

TEST(VoltageEvents, OverlappingDipAndSwellListInStartOrderAndAnOpenEventIsUnfinished) {
  const std::vector<Phases> records = {
      {kNormal.min, {259.6f, 234.2f, 232.7f}},               // swell on A starts
      {{224.6f, 118.9f, 223.9f}, {259.6f, 234.2f, 232.7f}},  // dip on B inside it
      {kNormal.min, {255.3f, 234.2f, 232.7f}},               // dip over, swell goes on
      kNormal,
      {{224.6f, 225.1f, 96.4f}, kNormal.max},  // a dip on C when the records end
  };
  VoltageEventDetector detector(kDeclared);
  detect(detector, records);
  const auto& events = detector.events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, VoltageEventKind::Swell);
  EXPECT_EQ(events[0].records, 3);
  EXPECT_EQ(events[1].kind, VoltageEventKind::Dip);
  EXPECT_EQ(events[1].start, at(1));
  EXPECT_EQ(events[1].records, 1);
  EXPECT_EQ(events[2].start, at(4));
  EXPECT_TRUE(events[2].unfinished);
  EXPECT_FALSE(events[1].unfinished);
  EXPECT_EQ(sarfiCounts(events), (SarfiCounts{2, 2, 1, 0}));  // 51.7 % and 41.9 %
}

TEST(VoltageEvents, ADeclaredVoltageThatIsNoPositiveNumberIsRefusedWithTheMessage) {
  for (const double declared :
       {0.0, -230.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    try {
      VoltageEventDetector detector(declared);
      ADD_FAILURE() << declared << " accepted";
    } catch (const std::invalid_argument& error) {
      EXPECT_STREQ(error.what(), messages::kNoDeclaredVoltage) << declared;
    }
  }
}

}  // namespace
}  // namespace pq
