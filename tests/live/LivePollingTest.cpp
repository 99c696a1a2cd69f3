// The polling cycle: requests by page and tick, which packages are accepted, the link status, and
// untrusted bytes from the line.
#include <gtest/gtest.h>

#include <random>

#include "InstrumentAnswers.h"
#include "live/LiveAnswers.h"
#include "live/LivePolling.h"
#include "live/LiveProtocol.h"
#include "live/LiveTable.h"

namespace pq::live {
namespace {

using test::measurementAnswerWith;
using test::ScriptedLink;
using test::waveformAnswerWith;
using Bytes = std::vector<std::uint8_t>;

const Bytes kMeasurement(kMeasurementRequest.begin(), kMeasurementRequest.end());
const Bytes kWaveform(kWaveformRequest.begin(), kWaveformRequest.end());

TEST(LivePollingTest, RequestsGoOutEveryFourthTickByPage) {
  struct Case {
    LivePage page;
    std::vector<Bytes> expected;  // requests of ticks 1 to 16
  };
  const Case cases[] = {
      {LivePage::values, {kMeasurement, kMeasurement, kMeasurement, kMeasurement}},
      {LivePage::spectrum, {kMeasurement, kMeasurement, kMeasurement, kMeasurement}},
      {LivePage::waveform, {kWaveform, kMeasurement, kWaveform, kMeasurement}},
  };
  for (const Case& c : cases) {
    LivePolling polling;
    ScriptedLink link;
    std::vector<int> requestTicks;
    for (int tick = 1; tick <= 16; ++tick) {
      const std::size_t before = link.sent.size();
      polling.tick(c.page, link);
      if (link.sent.size() != before) requestTicks.push_back(tick);
    }
    EXPECT_EQ(requestTicks, (std::vector<int>{4, 8, 12, 16}));
    EXPECT_EQ(link.sent, c.expected);
    EXPECT_EQ(polling.tickCounter(), 0);
  }
}

TEST(LivePollingTest, AcceptsAMeasurementAnswerOnAnyPage) {
  LivePolling polling;
  ScriptedLink link;
  link.waiting.push_back(measurementAnswerWith({{values::ptRatio, 100.0f}, {values::uaRms, 57.7f}}, 1));
  const TickResult result = polling.tick(LivePage::waveform, link);
  EXPECT_TRUE(result.measurementAccepted);
  EXPECT_FALSE(result.waveformAccepted);
  EXPECT_EQ(result.status, LinkStatus::normal);
  EXPECT_EQ(polling.measurement().ptRatio(), 100.0f);
  EXPECT_EQ(polling.measurement().value(values::uaRms), 57.7f);
  EXPECT_EQ(polling.measurement().wiring, 1);
}

TEST(LivePollingTest, TakesOnePackagePerTickOldestFirst) {
  LivePolling polling;
  ScriptedLink link;
  link.waiting.push_back(measurementAnswerWith({{values::frequency, 49.0f}}, 1));
  link.waiting.push_back(measurementAnswerWith({{values::frequency, 51.0f}}, 1));
  polling.tick(LivePage::values, link);
  EXPECT_EQ(polling.measurement().value(values::frequency), 49.0f);
  EXPECT_EQ(link.waiting.size(), 1u);
  polling.tick(LivePage::values, link);
  EXPECT_EQ(polling.measurement().value(values::frequency), 51.0f);
}

TEST(LivePollingTest, AcceptsOnlyWholeWaveformAnswersWithTheirChecksum) {
  const Bytes good = waveformAnswerWith({{0, 328}, {959, -656}});
  ASSERT_EQ(good.size(), kWaveformAnswerSize);
  Bytes badSum = good;
  // The checksum is the answer's last byte. Indexed by the answer's fixed length rather than through
  // back(): g++ 12 at -O3 cannot see that the copy is not empty and reports a write before its start.
  ++badSum[kWaveformAnswerSize - 1];
  Bytes longer = good;
  longer.push_back(0);
  // Shorter by one: the byte where the checksum would be is not part of the package at all.
  Bytes shorter(good.begin(), good.end() - 1);
  struct Case {
    const char* name;
    Bytes package;
    bool accepted;
  };
  const Case cases[] = {{"good", good, true},
                        {"wrong checksum", badSum, false},
                        {"one byte more", longer, false},
                        {"one byte less", shorter, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LivePolling polling;
    ScriptedLink link;
    link.waiting.push_back(c.package);
    const TickResult result = polling.tick(LivePage::waveform, link);
    EXPECT_EQ(result.waveformAccepted, c.accepted);
    EXPECT_EQ(result.status, LinkStatus::normal) << "every package longer than 10 bytes is communication";
    EXPECT_EQ(polling.samples()[0], c.accepted ? 1.0f : 0.0f);
    EXPECT_EQ(polling.samples()[959], c.accepted ? -2.0f : 0.0f);
  }
}

TEST(LivePollingTest, AMeasurementPackageWithoutAllValuesIsNotDecoded) {
  LivePolling polling;
  ScriptedLink link;
  link.waiting.push_back(measurementAnswerWith({{values::frequency, 50.0f}}, 1));
  polling.tick(LivePage::values, link);
  // The last value ends at byte 1851; the package's last byte is not part of the answer.
  for (const std::size_t length : {std::size_t{11}, std::size_t{1000}, std::size_t{1852}}) {
    Bytes cut = measurementAnswerWith({{values::frequency, 60.0f}}, 3);
    cut.resize(length);
    link.waiting.push_back(cut);
    const TickResult result = polling.tick(LivePage::values, link);
    EXPECT_FALSE(result.measurementAccepted) << length;
    EXPECT_EQ(result.status, LinkStatus::normal);
  }
  EXPECT_EQ(polling.measurement().value(values::frequency), 50.0f);
  EXPECT_EQ(polling.measurement().wiring, 1);

  Bytes justEnough = measurementAnswerWith({{values::frequency, 60.0f}, {454, 7.0f}}, 3);
  justEnough.resize(1853);
  link.waiting.push_back(justEnough);
  EXPECT_TRUE(polling.tick(LivePage::values, link).measurementAccepted);
  EXPECT_EQ(polling.measurement().value(454), 7.0f);
}

TEST(LivePollingTest, SilenceBreaksTheLinkAfterElevenTicksAndReopensThePort) {
  LivePolling polling;
  ScriptedLink link;
  std::vector<int> errorTicks;
  std::vector<int> reopenTicks;
  for (int tick = 1; tick <= 21; ++tick) {
    const int reopenedBefore = link.reopened;
    if (polling.tick(LivePage::values, link).status == LinkStatus::error) errorTicks.push_back(tick);
    if (link.reopened != reopenedBefore) reopenTicks.push_back(tick);
  }
  EXPECT_EQ(errorTicks.front(), 11);
  EXPECT_EQ(errorTicks.size(), 11u);
  EXPECT_EQ(reopenTicks, (std::vector<int>{11, 16, 21}));

  // Ten bytes are noise and break no silence; eleven bytes of anything are communication.
  link.waiting.push_back(Bytes(10, 0x55));
  EXPECT_EQ(polling.tick(LivePage::values, link).status, LinkStatus::error);
  link.waiting.push_back(Bytes(11, 0x55));
  EXPECT_EQ(polling.tick(LivePage::values, link).status, LinkStatus::normal);
  EXPECT_EQ(polling.silenceCounter(), 1);
  for (int tick = 0; tick < 9; ++tick) EXPECT_FALSE(polling.tick(LivePage::values, link).status.has_value());
  EXPECT_EQ(polling.tick(LivePage::values, link).status, LinkStatus::error);
}

TEST(LivePollingTest, UntrustedBytesNeverReachTheValuesUnchecked) {
  // Random packages, some with a valid head, of every length up to the buffer and beyond, followed
  // by one good answer: only the good answer decides the values, and nothing overruns.
  std::mt19937 random(12345);
  LivePolling polling;
  ScriptedLink link;
  LiveTable table;
  for (int i = 0; i < 300; ++i) {
    Bytes package(std::uniform_int_distribution<std::size_t>(0, 5000)(random));
    for (auto& byte : package) byte = static_cast<std::uint8_t>(random());
    if (package.size() >= 5 && i % 2 == 0) {
      std::copy(kAnswerHead.begin(), kAnswerHead.end(), package.begin());
      package[4] = static_cast<std::uint8_t>(1 + i % 4);
    }
    link.waiting.push_back(package);
    const TickResult result = polling.tick(LivePage::waveform, link);
    if (result.measurementAccepted) table.fill(polling.measurement(), LiveDataMode::primary);
  }
  sim::InstrumentModel model({1, 100.0f, 20.0f, 1});
  link.waiting.push_back(sim::measurementAnswer(model));
  ASSERT_TRUE(polling.tick(LivePage::values, link).measurementAccepted);
  for (int i = 0; i < kValueCount; ++i) EXPECT_EQ(polling.measurement().value(i), model.values()[i]) << i;
}

}  // namespace
}  // namespace pq::live
