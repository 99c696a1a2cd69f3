#include "pages/PageChart.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace pq {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::FieldsAre;

constexpr PageColour kRed{200, 10, 20};
constexpr PageColour kBlue{10, 20, 190};

// A 400 x 300 chart: its plot spans x 56..386 and y 24..242; x 0..600 s, y -10..10 %.
PageChart smallChart() {
  PageChart chart(400, 300, "图");
  chart.setXAxis(0, 600, {{0, "0"}, {300, "300"}}, "时间");
  chart.setYAxis(-10, 10, {{-10, "-10"}, {0, "0"}, {10, "10"}}, "偏差 %");
  return chart;
}

std::vector<PagePolyline> linesOf(const PageDrawing& drawing, PageColour colour) {
  std::vector<PagePolyline> lines;
  for (const PagePolyline& line : drawing.polylines)
    if (line.colour == colour) lines.push_back(line);
  return lines;
}

auto at(double x, double y) { return FieldsAre(DoubleNear(x, 1e-9), DoubleNear(y, 1e-9)); }

TEST(PageChart, ALimitIsADashedLineAcrossThePlotAtItsValue) {
  PageChart chart = smallChart();
  chart.addLimit(7, kRed, "上限 +7%");
  const auto lines = linesOf(chart.finish(), kRed);
  // 242 - (7 + 10) / 20 * 218; a second red line is the legend's key.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].dashed);
  EXPECT_THAT(lines[0].points, ElementsAre(at(56, 56.7), at(386, 56.7)));
}

TEST(PageChart, ALineBreaksAtAValueMissingAndAtAStepLongerThanAnInterval) {
  PageChart chart = smallChart();
  const std::vector<double> xs{0, 60, 120, 180, 420, 480, 540};
  const std::vector<double> ys{1, 2, NAN, 3, 4, -5, 6};
  chart.addLine(xs, ys, kBlue, 60, "");
  const auto lines = linesOf(chart.finish(), kBlue);
  // x: 56 + x / 600 * 330; y: 242 - (y + 10) / 20 * 218. The value at 180 s stands alone between
  // the missing one and the gap, so it is a dot.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0].points, ElementsAre(at(56, 122.1), at(89, 111.2)));
  EXPECT_THAT(lines[1].points, ElementsAre(at(287, 89.4), at(320, 187.5), at(353, 67.6)));
}

TEST(PageChart, ManyPointsAreThinnedWithoutLosingTheirExtremes) {
  PageChart chart = smallChart();
  std::vector<double> xs, ys;
  for (int i = 0; i < 6000; ++i) {
    xs.push_back(i * 0.1);
    ys.push_back(std::sin(i * 0.37) * 8);
  }
  ys[4321] = 9.75;
  ys[1234] = -9.5;
  chart.addLine(xs, ys, kBlue, 1, "");
  const auto lines = linesOf(chart.finish(), kBlue);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_LE(lines[0].points.size(), 4u * 331);
  double top = 1e9, bottom = -1e9;
  for (const PagePoint& p : lines[0].points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  EXPECT_DOUBLE_EQ(top, 242 - 19.75 / 20 * 218);
  EXPECT_DOUBLE_EQ(bottom, 242 - 0.5 / 20 * 218);
}

TEST(PageChart, BarsRiseFromZeroAndSpansFillThePlotsHeight) {
  PageChart chart = smallChart();
  chart.addBar(120, 180, -4, kRed);
  chart.addSpan(300, 360, kBlue);
  const PageDrawing drawing = chart.finish();
  ASSERT_EQ(drawing.fills.size(), 2u);
  EXPECT_THAT(drawing.fills[0], FieldsAre(DoubleNear(122, 1e-9), DoubleNear(133, 1e-9), DoubleNear(33, 1e-9),
                                          DoubleNear(43.6, 1e-9), kRed));
  EXPECT_THAT(drawing.fills[1], FieldsAre(DoubleNear(221, 1e-9), DoubleNear(24, 1e-9), DoubleNear(33, 1e-9),
                                          DoubleNear(218, 1e-9), kBlue));
}

TEST(RoundAxis, WidensToWholeRoundSteps) {
  struct Case {
    double low, high;
    int most, decimals;
    double min, max;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {-4.25, 7, 7, 1, -5, 10, {"-5.0", "0.0", "5.0", "10.0"}},
      {0, 100, 6, 0, 0, 100, {"0", "20", "40", "60", "80", "100"}},
      {0.013, 0.0871, 5, 2, 0, 0.1, {"0.00", "0.05", "0.10"}},
      {0.3, 0.3, 5, 0, -1, 2, {"-1", "0", "1", "2"}},  // one value: a unit either side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
    const RoundAxis axis = roundAxis(c.low, c.high, c.most, c.decimals);
    EXPECT_DOUBLE_EQ(axis.min, c.min);
    EXPECT_DOUBLE_EQ(axis.max, c.max);
    std::vector<std::string> labels;
    for (const AxisTick& tick : axis.ticks) labels.push_back(tick.label);
    EXPECT_EQ(labels, c.labels);
  }
}

}  // namespace
}  // namespace pq
