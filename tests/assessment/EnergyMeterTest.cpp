#include "assessment/EnergyMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

std::int64_t at(int hour, int minute, int second) {
  return epochSeconds({2010, 4, 20, hour, minute, second});
}

MeasurementRecord& addAt(RecordStore& store, int hour, int minute, int second, float pTotal,
                         float qTotal = 0) {
  auto& r = test::appendRecord(store, 10, 4, 20, hour, minute, second);
  // Unequal phases, so that the three-phase total is what counts.
  r.setValue(cells::pA, pTotal * 0.4f);
  r.setValue(cells::pB, pTotal * 0.35f);
  r.setValue(cells::pC, pTotal - pTotal * 0.4f - pTotal * 0.35f);
  r.setValue(cells::qA, 16.1f / 48.43f * qTotal);
  r.setValue(cells::qB, qTotal - 16.1f / 48.43f * qTotal);
  return r;
}

TEST(EnergyMeter, AnHourOf100KilowattsAnd48Point43KilovarsInEitherUnit) {
  struct Case {
    float ptRatio;
    float unit;  // the store's power unit in kW
  };
  for (const Case c : {Case{10.0f, 1.0f}, Case{1.0f, 0.001f}}) {
    auto store = std::make_unique<RecordStore>();
    store->ptRatio = c.ptRatio;
    EnergyMeter meter;
    for (int s = 0; s < 3600; ++s) {
      addAt(*store, 10, s / 60, s % 60, 100.0f / c.unit, 48.43f / c.unit);
      meter.add(store->record(s), at(10, s / 60, s % 60), 1, store->kiloUnits());
    }
    const EnergySummary energy = meter.finish();
    EXPECT_NEAR(energy.activeKwh, 100.000, 1e-4) << c.ptRatio;
    EXPECT_NEAR(energy.reactiveKvarh, 48.430, 1e-4) << c.ptRatio;
    EXPECT_NEAR(energy.powerFactor, 0.900008, 1e-6) << c.ptRatio;
    EXPECT_NEAR(energy.largestDemandKw, 100.0, 1e-4) << c.ptRatio;
    EXPECT_EQ(energy.largestDemandRecords, 900) << c.ptRatio;
  }
}

TEST(EnergyMeter, GapsAreNotIntegratedAndTheLargestQuarterHourIsFound) {
  auto store = std::make_unique<RecordStore>();
  store->ptRatio = 35.0f;
  EnergyMeter meter;
  struct Second {
    int minute, second;
    float p;
  };
  // 60 kW in the 10:00 quarter, 200 kW for five seconds in 10:15, then a gap to 10:31, where two
  // records two seconds apart count one second each.
  const Second records[] = {{14, 59, 60.0f}, {15, 0, 200.0f}, {15, 1, 200.0f}, {15, 2, 200.0f},
                            {15, 3, 200.0f}, {15, 4, 200.0f}, {31, 0, 80.0f},  {31, 2, 80.0f}};
  for (const Second& r : records) {
    addAt(*store, 10, r.minute, r.second, r.p);
    meter.add(store->record(store->recordCount() - 1), at(10, r.minute, r.second), 1, store->kiloUnits());
  }
  const EnergySummary energy = meter.finish();
  EXPECT_NEAR(energy.activeKwh, (60.0 + 5 * 200.0 + 2 * 80.0) / 3600, 1e-9);
  EXPECT_EQ(energy.reactiveKvarh, 0.0);
  EXPECT_EQ(energy.powerFactor, 1.0);
  // Five seconds of 200 kW draw 1000 kW·s, which over the quarter hour is 1.11 kW, not 200.
  EXPECT_NEAR(energy.largestDemandKw, 1000.0 / 900, 1e-12);
  EXPECT_EQ(energy.largestDemandStart, at(10, 15, 0));
  EXPECT_EQ(energy.largestDemandRecords, 5);
}

TEST(EnergyMeter, NoRecordsGiveNoPowerFactorAndNoDemand) {
  EnergyMeter meter;
  const EnergySummary energy = meter.finish();
  EXPECT_EQ(energy.activeKwh, 0.0);
  EXPECT_TRUE(std::isnan(energy.powerFactor));
  EXPECT_TRUE(std::isnan(energy.largestDemandKw));
}

}  // namespace
}  // namespace pq
