#include "aggregation/AggregatedSeries.h"

#include <gtest/gtest.h>

#include <memory>

#include "aggregation/AggregatedQuantities.h"
#include "support/StoreBuilder.h"
#include "timerange/RecordSpan.h"

namespace pq {
namespace {

TEST(AggregatedSeries, RecordingsWhoseEndsLieFarApartOrReversedAreAggregatedWithoutHugeReservations) {
  // A first record of 2000 and a last one of 2099 span 3e9 seconds; reversed ends span less than none.
  struct Case {
    int firstYear, lastYear;
    int skipped;
  };
  for (const Case c : {Case{0, 99, 0}, Case{99, 0, 1}}) {
    auto store = std::make_unique<RecordStore>();
    test::appendRecord(*store, c.firstYear, 4, 20, 10, 0, 0).setValue(cells::iaRms, 12.5f);
    test::appendRecord(*store, c.lastYear, 4, 20, 10, 0, 0).setValue(cells::iaRms, 13.5f);
    const auto result = aggregateRecords(recordsOfRange(*store, {-3, 7}));
    EXPECT_EQ(result.gate.outOfOrder(), c.skipped);
    const auto& tens = result.series[static_cast<int>(Resolution::TenMinutes)];
    ASSERT_EQ(tens.intervals.size(), 2u - c.skipped) << c.firstYear;
    EXPECT_LE(tens.intervals.capacity(), 2u);
    // Reversed, the first record has no neighbour before it to be in order with: it is the one left out.
    EXPECT_EQ(tens.find(0, cellQuantity(cells::iaRms))->value, c.skipped ? 13.5 : 12.5);
    // The assessment keeps no 3-second values of its own.
    EXPECT_TRUE(result.series[static_cast<int>(Resolution::ThreeSeconds)].intervals.empty());
  }
}

}  // namespace
}  // namespace pq
