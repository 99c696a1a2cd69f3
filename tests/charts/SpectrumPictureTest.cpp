#include "charts/SpectrumPicture.h"

#include <gtest/gtest.h>

#include <limits>

#include "records/RecordStore.h"

namespace pq::history {
namespace {

SpectrumPercent withHarmonic(int order, double percent) {
  SpectrumPercent values{};
  values[0] = 100;
  values[order - 1] = percent;
  return values;
}

TEST(SpectrumPictureTest, AxisFollowsTheLargestHarmonic) {
  const struct {
    int order;
    double percent;
    double axis;
  } cases[] = {
      {3, 4.99, 5}, {3, 5, 5},      {2, 5.01, 10}, {64, 10, 10}, {5, 12, 50},
      {5, 50, 50},  {7, 50.5, 100}, {9, 250, 100}, {3, -30, 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(spectrumPicture("Ua", withHarmonic(c.order, c.percent), 1).axisMaximum, c.axis)
        << c.order << " " << c.percent;
  }
  // The fundamental's 100 % never counts.
  EXPECT_EQ(spectrumPicture("Ua", withHarmonic(1, 100), 0).axisMaximum, 5);
}

TEST(SpectrumPictureTest, TitleNamesTheChannelTwice) {
  EXPECT_EQ(spectrumPicture("Ua", withHarmonic(3, 2), 3.456).title, "Ua各次谐波频谱图   THD_Ua=  3.46%");
  EXPECT_EQ(spectrumPicture("Ic", withHarmonic(3, 2), 0).title, "Ic各次谐波频谱图   THD_Ic=  0.00%");
}

TEST(SpectrumPictureTest, ValuesThatAreNoNumberDrawNoBar) {
  SpectrumPercent values = withHarmonic(3, 7);
  values[4] = std::numeric_limits<double>::quiet_NaN();
  values[5] = std::numeric_limits<double>::infinity();
  values[6] = -std::numeric_limits<double>::infinity();
  const SpectrumPicture picture = spectrumPicture("Ub", values, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(picture.axisMaximum, 10);
  EXPECT_EQ(picture.bars[2], 7);
  EXPECT_EQ(picture.bars[4], 0);
  EXPECT_EQ(picture.bars[5], 0);
  EXPECT_EQ(picture.bars[6], 0);
  EXPECT_EQ(picture.title, "Ub各次谐波频谱图   THD_Ub=  NAN%");
}

TEST(SpectrumPictureTest, ZeroFundamentalGivesEmptyBars) {
  RecordStore store;
  MeasurementRecord record{};
  record.setValue(cells::harmonic(Ub, 1), 0);
  record.setValue(cells::harmonic(Ub, 3), 5);
  record.setValue(cells::harmonic(Ua, 1), 100);
  record.setValue(cells::harmonic(Ua, 5), 12);
  ASSERT_TRUE(store.append(record));

  const SpectrumPercent ub = spectrumPercent(store, 0, Ub);
  const SpectrumPicture ubPicture = spectrumPicture("Ub", ub, store.thd(0, Ub));
  EXPECT_EQ(ubPicture.bars, SpectrumPercent{});
  EXPECT_EQ(ubPicture.axisMaximum, 5);
  EXPECT_EQ(ubPicture.title, "Ub各次谐波频谱图   THD_Ub=  0.00%");

  const SpectrumPercent ua = spectrumPercent(store, 0, Ua);
  EXPECT_DOUBLE_EQ(ua[0], 100);
  EXPECT_DOUBLE_EQ(ua[4], 12);
  EXPECT_EQ(spectrumPicture("Ua", ua, store.thd(0, Ua)).axisMaximum, 50);
}

}  // namespace
}  // namespace pq::history
