#include "records/RecordStore.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>

#include "support/StoreBuilder.h"

namespace pq {
namespace {

MeasurementRecord recordWithMarker(float marker) {
  MeasurementRecord r{};
  r.setValue(cells::uaRms, marker);
  r.cells[cells::instrumentId] = static_cast<std::uint32_t>(marker);
  return r;
}

TEST(RecordStoreTest, FreshStoreHasTheStartValues) {
  RecordStore store;
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_EQ(store.ptRatio, 1.0f);
  EXPECT_EQ(store.ctRatio, 1.0f);
  EXPECT_EQ(store.minShortCircuitCapacity, 100.0f);
  EXPECT_EQ(store.supplyEquipmentCapacity, 120.0f);
  EXPECT_EQ(store.agreedCapacity, 120.0f);
  EXPECT_EQ(store.substationName, "XXX");
  EXPECT_EQ(store.measuringPointName, "XXX");
  EXPECT_EQ(store.fileName, "");
  EXPECT_EQ(store.nominalVoltage, 0);
  EXPECT_EQ(store.voltageLevelCode, 0);
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 0);
}

TEST(RecordStoreTest, UnitsFollowThePtRatio) {
  RecordStore store;
  const struct {
    float pt;
    const char *v, *p, *q;
  } cases[] = {{1.0f, "V", "W", "Var"},
               {1.01f, "KV", "KW", "KVar"},
               {0.5f, "V", "W", "Var"},
               {100.0f, "KV", "KW", "KVar"}};
  for (const auto& c : cases) {
    store.ptRatio = c.pt;
    EXPECT_STREQ(store.voltageUnit(), c.v) << c.pt;
    EXPECT_STREQ(store.activePowerUnit(), c.p) << c.pt;
    EXPECT_STREQ(store.reactivePowerUnit(), c.q) << c.pt;
  }
}

long residentBytes() {
  long size = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> size >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

TEST(RecordStoreTest, AFewRecordsCostAFewPagesNotTheWholeBlock) {
  const long before = residentBytes();
  RecordStore store;
  for (int i = 0; i < 100; ++i) store.append(recordWithMarker(1.0f));
  const long grown = residentBytes() - before;
  // 156 MiB when the block is touched whole; one 2 MiB huge page (or 47 small ones) for these.
  EXPECT_LT(grown, 16L << 20);
}

TEST(RecordStoreTest, AppendNumbersRecordsAndStopsAtCapacity) {
  RecordStore store;
  for (int i = 0; i < RecordStore::kCapacity; ++i) ASSERT_TRUE(store.append(recordWithMarker(1.0f)));
  EXPECT_TRUE(store.isFull());
  EXPECT_FALSE(store.append(recordWithMarker(2.0f)));
  EXPECT_EQ(store.nextSlot(), nullptr);
  EXPECT_EQ(store.recordCount(), RecordStore::kCapacity);
  EXPECT_EQ(store.record(0).integer(cells::sequenceNumber), 0);
  EXPECT_EQ(store.record(86399).integer(cells::sequenceNumber), 86399);
  store.clear();
  EXPECT_EQ(store.recordCount(), 0);
}

TEST(RecordStoreTest, DeletingMovesWholeRecords) {
  RecordStore store;
  for (int i = 0; i < 5; ++i) store.append(recordWithMarker(static_cast<float>(i)));

  store.deleteAt(0);
  ASSERT_EQ(store.recordCount(), 4);
  EXPECT_EQ(store.value(0, cells::uaRms), 1.0f);
  EXPECT_EQ(store.record(0).cells[cells::instrumentId], 1u) << "identification moves with its record";
  EXPECT_EQ(store.record(0).integer(cells::sequenceNumber), 1) << "the imported index stays";

  store.deleteRange(1, 2);  // records 2 and 3
  ASSERT_EQ(store.recordCount(), 2);
  EXPECT_EQ(store.value(0, cells::uaRms), 1.0f);
  EXPECT_EQ(store.value(1, cells::uaRms), 4.0f);

  store.deleteRange(1, 50);  // cut at the end
  EXPECT_EQ(store.recordCount(), 1);
  store.deleteRange(5, 1);  // outside: nothing
  store.deleteRange(0, 0);
  EXPECT_EQ(store.recordCount(), 1);
  store.deleteAt(0);
  EXPECT_EQ(store.recordCount(), 0);
}

TEST(RecordStoreTest, TimeTextKeepsTheRawBcdPrintingRule) {
  RecordStore store;
  MeasurementRecord r{};
  const std::uint8_t bytes[6] = {0x07, 0x05, 0x12, 0x13, 0x05, 0x09};
  for (int i = 0; i < 6; ++i) r.cells[cells::timeBcd + i] = bytes[i];
  store.append(r);
  EXPECT_EQ(store.recordTimeText(0), "20 7- 5-12 13: 5: 9\n");
  EXPECT_EQ(store.recordTime(0), (RecordTime{7, 5, 12, 13, 5, 9}));

  r.cells[cells::timeBcd + 1] = 0x1A;
  store.append(r);
  EXPECT_EQ(store.recordTimeText(1), "20 7-1a-12 13: 5: 9\n");
  EXPECT_EQ(store.recordTime(1).month, -1);
}

TEST(RecordStoreTest, TotalsAddThePhases) {
  RecordStore store;
  MeasurementRecord r{};
  r.setValue(cells::pA, 1.5f);
  r.setValue(cells::pB, 2.25f);
  r.setValue(cells::pC, -0.75f);
  r.setValue(cells::qA, 10.0f);
  r.setValue(cells::qC, 1.0f);
  store.append(r);
  EXPECT_EQ(store.totalActivePower(0), 3.0f);
  EXPECT_EQ(store.totalReactivePower(0), 11.0f);
}

TEST(RecordStoreTest, HarmonicPercentNeedsAFundamentalAboveItsThreshold) {
  RecordStore store;
  const struct {
    int channel;
    float fundamental;
    bool computed;
  } cases[] = {
      {Ua, 0.04f, false},   {Ub, 0.05f, true},  // the float nearest 0.05 is 0.0500000007..., above the double
                                                // 0.05
      {Uc, 0.0499f, false}, {Ia, 0.0011f, true}, {Ib, 0.001f, true},  // 0.00100000005 as a float
      {Ic, 0.0009f, false}, {Ic, -5.0f, false},
  };
  for (const auto& c : cases) {
    MeasurementRecord r{};
    r.setValue(cells::harmonic(c.channel, 1), c.fundamental);
    r.setValue(cells::harmonic(c.channel, 3), c.fundamental / 4);
    store.clear();
    store.append(r);
    const double expected = c.computed ? 25.0 : 0.0;
    EXPECT_NEAR(store.harmonicPercent(0, c.channel, 3), expected, 1e-5) << c.channel << ' ' << c.fundamental;
    EXPECT_NEAR(store.harmonicPercent(0, c.channel, 1), c.computed ? 100.0 : 0.0, 1e-12);
  }
}

TEST(RecordStoreTest, ThdOverOrdersTwoToSixtyFour) {
  RecordStore store;
  MeasurementRecord r{};
  r.setValue(cells::harmonic(Ua, 1), 100.0f);
  store.append(r);
  EXPECT_EQ(store.thd(0, Ua), 0.0) << "no harmonics, no distortion";

  r.setValue(cells::harmonic(Ua, 2), 3.0f);
  r.setValue(cells::harmonic(Ua, 64), 4.0f);
  r.setValue(cells::harmonic(Ua, 65), 1000.0f);  // not included
  store.append(r);
  EXPECT_DOUBLE_EQ(store.thd(1, Ua), 5.0);

  r.setValue(cells::harmonic(Ua, 1), 0.001f);  // just above the threshold as a float
  store.append(r);
  EXPECT_GT(store.thd(2, Ua), 0.0);
  r.setValue(cells::harmonic(Ua, 1), 0.0009f);
  store.append(r);
  EXPECT_EQ(store.thd(3, Ua), 0.0);
}

TEST(RecordStoreTest, ThdOfChannelsIsEachChannelsThd) {
  RecordStore store;
  MeasurementRecord r{};
  struct Harmonic {
    int channel, order;
    float value;
  };
  const Harmonic harmonics[] = {
      {Ua, 1, 100.0f}, {Ua, 2, 3.0f},   {Ua, 64, 4.0f},  {Ua, 65, 1000.0f},  // 5 %, order 65 left out
      {Ub, 1, 50.0f},  {Ub, 3, 6.0f},   {Ub, 5, 8.0f},                        // 20 %
      {Uc, 1, 0.0005f}, {Uc, 7, 2.0f},                                        // no fundamental
      {Ia, 1, 8.0f},   {Ia, 7, 0.6f},   {Ia, 11, 0.8f},                       // 12.5 %
      {Ib, 1, 40.0f},  {Ib, 25, 2.4f},  {Ib, 63, 3.2f},                       // 10 %
      {Ic, 1, 12.5f}};                                                        // no harmonics
  for (const Harmonic& h : harmonics) r.setValue(cells::harmonic(h.channel, h.order), h.value);
  store.append(r);
  const double expected[kChannelCount] = {5.0, 20.0, 0.0, 12.5, 10.0, 0.0};
  const auto thds = store.thdOfChannels(0);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    EXPECT_NEAR(thds[channel], expected[channel], 1e-5) << kChannelNames[channel];
  }

  // The same bits as thd(), which the trend pages show beside the aggregated values.
  MeasurementRecord distinct{};
  test::fillDistinctValues(distinct, 2);
  store.append(distinct);
  const auto distinctThds = store.thdOfChannels(1);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    EXPECT_EQ(distinctThds[channel], store.thd(1, channel)) << kChannelNames[channel];
    EXPECT_GT(distinctThds[channel], 0.0) << kChannelNames[channel];
  }
}

}  // namespace
}  // namespace pq
