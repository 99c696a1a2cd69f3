#include "charts/ui/SpectrumChart.h"

#include "charts/ui/SpectrumBars.h"

#include <gtest/gtest.h>

#include <limits>

namespace pq::history {
namespace {

SpectrumPercent sample() {
  SpectrumPercent values{};
  values[0] = 100;
  values[4] = 12;
  values[6] = 3;
  return values;
}

QImage picture(SpectrumChart& chart, int width = 500) {
  chart.resize(width, 300);
  chart.replot();
  return chart.toPixmap(width, 300).toImage();
}

TEST(SpectrumChartTest, ShowsOneChannel) {
  SpectrumChart chart;
  EXPECT_EQ(chart.titleText(), QStringLiteral("各次谐波含量(HRUh)示意图"));
  chart.showSpectrum(QStringLiteral("Ua"), sample(), 13.1);
  EXPECT_EQ(chart.titleText(), QStringLiteral("Ua各次谐波频谱图   THD_Ua=  13.10%"));
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0, 50));
  EXPECT_EQ(chart.yAxis->label(), QStringLiteral("谐波含量%"));
  EXPECT_EQ(chart.xAxis->label(), QStringLiteral("谐波次数"));
  const QVector<double> heights = chart.barHeights();
  ASSERT_EQ(heights.size(), 64);
  EXPECT_EQ(heights[0], 100);
  EXPECT_EQ(heights[4], 12);
  EXPECT_EQ(heights[63], 0);
  EXPECT_FALSE(chart.legend->visible());
}

TEST(SpectrumChartTest, ClearEmptiesBarsAndAxisTitles) {
  SpectrumChart chart;
  chart.showSpectrum(QStringLiteral("Ib"), sample(), 1);
  chart.clear();
  EXPECT_TRUE(chart.barHeights().isEmpty());
  EXPECT_TRUE(chart.yAxis->label().isEmpty());
  EXPECT_TRUE(chart.xAxis->label().isEmpty());
  EXPECT_EQ(chart.titleText(), QStringLiteral("各次谐波含量(HRUh)示意图"));
}

TEST(SpectrumChartTest, BarsWithTheCallersTitleAndAxis) {
  SpectrumChart chart(QStringLiteral(" Ua 频谱分析"));
  EXPECT_EQ(chart.accessibleName(), QStringLiteral("Ua 频谱分析"));
  chart.setAxisMaximum(20);
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0, 20));
  SpectrumPercent values = sample();
  values[9] = std::numeric_limits<double>::quiet_NaN();
  chart.showBars(QStringLiteral("Ua  频谱分析       THD_Ua=13.10% "), values, 50);
  EXPECT_EQ(chart.titleText(), QStringLiteral("Ua  频谱分析       THD_Ua=13.10% "));
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0, 50));
  EXPECT_EQ(chart.barHeights()[9], 0);
  chart.clear();
  EXPECT_EQ(chart.titleText(), QStringLiteral(" Ua 频谱分析"));
}

TEST(SpectrumChartTest, ThreeDChangesOnlyTheLook) {
  SpectrumChart chart;
  chart.showSpectrum(QStringLiteral("Ua"), sample(), 2);
  const QImage flat = picture(chart);
  chart.setThreeD(true);
  EXPECT_TRUE(chart.isThreeD());
  const QImage deep = picture(chart);
  EXPECT_NE(flat, deep);
  EXPECT_EQ(chart.yAxis->range(), QCPRange(0, 50));
  EXPECT_EQ(chart.barHeights().size(), 64);
  chart.setThreeD(false);
  EXPECT_EQ(picture(chart), flat);
}

TEST(SpectrumChartTest, EachBarHasItsOwnColour) {
  SpectrumChart chart;
  SpectrumPercent values{};
  values.fill(4);
  chart.showSpectrum(QStringLiteral("Ua"), values, 2);
  // Wide enough for bars outlined in black.
  const QImage image = picture(chart, 1400);
  // The fills met along a row through every bar, left to right, outlines and background left out.
  const int y = image.height() * 3 / 5;
  QVector<QColor> fills;
  for (int x = 0; x < image.width(); ++x) {
    const QColor c = image.pixelColor(x, y);
    if (c == QColor(Qt::black) || c == QColor(212, 208, 200)) continue;
    if (fills.isEmpty() || fills.back() != c) fills.push_back(c);
  }
  // The palette's black bar is taken for an outline here; the palette repeats after 20 colours.
  QVector<QColor> expected;
  for (int position = 0; position < 24; ++position) {
    if (SpectrumBars::paletteColour(position) != QColor(Qt::black)) {
      expected.push_back(SpectrumBars::paletteColour(position));
    }
  }
  EXPECT_EQ(fills.mid(0, expected.size()), expected);
  EXPECT_EQ(SpectrumBars::paletteColour(20), SpectrumBars::paletteColour(0));
}

}  // namespace
}  // namespace pq::history
