#include "archive/SeriesBlob.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "aggregation/AggregatedQuantities.h"

namespace pq::archive {
namespace {

// Two intervals of three quantities of different kinds (a cell, a distortion, a harmonic current).
AggregatedSeries sample() {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::ubRms), thdQuantity(Uc), harmonicCurrentQuantity(Ib, 7)};
  series.intervals = {{1271757600, 60, false, false}, {1271757660, 17, true, true}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  series.values = {{5801.25, 5790.5, 5811.75}, {2.375, 1.5, 3.0625}, {0.8125, 0.5, 1.25},
                   {5702.5, 4100.0, 6600.0},   {nan, nan, nan},      {-0.0, -1.0e-300, 1.0e300}};
  return series;
}

TEST(SeriesBlobTest, KeepsEveryIntervalAndValueToTheBit) {
  const AggregatedSeries series = sample();
  const SeriesBlob blob = seriesBlobOf(series);
  EXPECT_EQ(blob.quantities, "ubRms,Uc_thd%,Ib_7");
  ASSERT_EQ(blob.intervals.size(), 2u * 13u);
  // The second interval's start 1271757660 = 0x4BCD7B5C, little-endian, then 17 and both flags.
  const SqlBlob second(blob.intervals.begin() + 13, blob.intervals.end());
  EXPECT_EQ(second, (SqlBlob{0x5C, 0x7B, 0xCD, 0x4B, 0, 0, 0, 0, 17, 0, 0, 0, 3}));
  ASSERT_EQ(blob.values.size(), 6u * 3u * 8u);
  // 5801.25 = 0x40B6A94000000000, least significant byte first.
  EXPECT_EQ(SqlBlob(blob.values.begin(), blob.values.begin() + 8),
            (SqlBlob{0x00, 0x00, 0x00, 0x00, 0x40, 0xA9, 0xB6, 0x40}));

  const AggregatedSeries back = seriesOf(blob);
  EXPECT_EQ(back.quantities, series.quantities);
  ASSERT_EQ(back.intervals.size(), series.intervals.size());
  for (std::size_t i = 0; i < series.intervals.size(); ++i) {
    EXPECT_EQ(back.intervals[i].start, series.intervals[i].start);
    EXPECT_EQ(back.intervals[i].recordCount, series.intervals[i].recordCount);
    EXPECT_EQ(back.intervals[i].flagged, series.intervals[i].flagged);
    EXPECT_EQ(back.intervals[i].outage, series.intervals[i].outage);
  }
  ASSERT_EQ(back.values.size(), series.values.size());
  for (std::size_t i = 0; i < series.values.size(); ++i) {
    for (const auto member : {&AggregatedValue::value, &AggregatedValue::min, &AggregatedValue::max})
      EXPECT_EQ(std::bit_cast<std::uint64_t>(back.values[i].*member),
                std::bit_cast<std::uint64_t>(series.values[i].*member))
          << i;
  }
}

TEST(SeriesBlobTest, RefusesBlobsThatDoNotFit) {
  const SeriesBlob good = seriesBlobOf(sample());
  const struct {
    const char* what;
    SeriesBlob blob;
  } cases[] = {
      {"interval cut",
       {good.quantities, SqlBlob(good.intervals.begin(), good.intervals.end() - 1), good.values}},
      {"value missing",
       {good.quantities, good.intervals, SqlBlob(good.values.begin(), good.values.end() - 24)}},
      {"quantity unknown", {"ubRms,Uc_thd%,flicker", good.intervals, good.values}},
      {"quantity missing", {"ubRms,Uc_thd%", good.intervals, good.values}},
  };
  for (const auto& c : cases) EXPECT_THROW(seriesOf(c.blob), SqlError) << c.what;
}

TEST(SeriesBlobTest, AnEmptySeriesStaysEmpty) {
  const AggregatedSeries back = seriesOf(seriesBlobOf(AggregatedSeries{}));
  EXPECT_TRUE(back.quantities.empty());
  EXPECT_TRUE(back.intervals.empty());
  EXPECT_TRUE(back.values.empty());
}

}  // namespace
}  // namespace pq::archive
