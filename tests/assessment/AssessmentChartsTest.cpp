#include "assessment/AssessmentCharts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::FieldsAre;

auto at(double x, double y) { return FieldsAre(DoubleNear(x, 1e-6), DoubleNear(y, 1e-6)); }

std::vector<PagePolyline> linesOf(const PageDrawing& drawing, PageColour colour) {
  std::vector<PagePolyline> lines;
  for (const PagePolyline& line : drawing.polylines)
    if (line.colour == colour) lines.push_back(line);
  return lines;
}

IndexAssessment harmonic(double p95, double limit, Verdict verdict) {
  IndexAssessment i;
  i.p95 = p95;
  i.upperLimit = limit;
  i.verdict = verdict;
  return i;
}

TEST(TimeTicks, ARoundStepLabelledWithDayAndTime) {
  const std::int64_t first = epochSeconds({2010, 4, 19, 10, 5, 0});
  // A day: six-hour steps give four ticks, from 12:00 on.
  const auto day = timeTicks(first, epochSeconds({2010, 4, 20, 10, 5, 0}), first, 7);
  std::vector<std::string> labels;
  for (const AxisTick& tick : day) labels.push_back(tick.label);
  EXPECT_THAT(labels, ElementsAre("04-19 12:00", "04-19 18:00", "04-20 00:00", "04-20 06:00"));
  EXPECT_DOUBLE_EQ(day[0].value, 6900);
  // Ten days: two-day steps, the date alone.
  const auto days = timeTicks(first, epochSeconds({2010, 4, 29, 10, 5, 0}), first, 7);
  ASSERT_FALSE(days.empty());
  EXPECT_EQ(days[0].label, "04-21");  // steps of two days from the epoch
  EXPECT_EQ(days.size(), 5u);
}

// Five minutes of deviations, a gap of three minutes, two more; the second minute holds a voltage
// event. The band ±7 % takes the axis to ±10 %.
AssessmentResult deviationFixture() {
  AssessmentResult result;
  const std::int64_t t0 = epochSeconds({2010, 4, 19, 10, 0, 0});
  TrendSeries& trend = result.trends.deviation;
  trend.intervalSeconds = 60;
  trend.starts = {t0, t0 + 60, t0 + 120, t0 + 300, t0 + 360};
  trend.flagged = {false, true, false, false, false};
  trend.outage = {false, false, false, false, false};
  trend.lines = {{1.25, -2.5, 3.75, 4.5, -5.25}, {0, 0, 0, 0, 0}, {0.5, 0.5, 0.5, 0.5, 0.5}};
  for (VoltageDeviationAssessment& d : result.deviation) {
    d.index.upperLimit = 7;
    d.index.lowerLimit = -7;
  }
  return result;
}

TEST(DeviationTimeChart, LimitsAtTheirValueAGapBreaksTheLineAnEventIsShaded) {
  const PageDrawing chart = deviationTimeChart(deviationFixture());
  // The plot spans x 56..674 over 0..420 s and y 24..192 over -10..10 %.
  const auto x = [](double seconds) { return 56 + seconds / 420 * 618; };
  const auto y = [](double percent) { return 192 - (percent + 10) / 20 * 168; };
  const auto phaseA = linesOf(chart, kPhaseColours[0]);
  // Two runs and the legend's key.
  ASSERT_EQ(phaseA.size(), 3u);
  EXPECT_THAT(phaseA[0].points, ElementsAre(at(x(0), y(1.25)), at(x(60), y(-2.5)), at(x(120), y(3.75))));
  EXPECT_THAT(phaseA[1].points, ElementsAre(at(x(300), y(4.5)), at(x(360), y(-5.25))));
  const auto limits = linesOf(chart, kLimitColour);
  ASSERT_GE(limits.size(), 2u);
  EXPECT_TRUE(limits[0].dashed);
  EXPECT_THAT(limits[0].points, ElementsAre(at(56, 49.2), at(674, 49.2)));
  EXPECT_THAT(limits[1].points, ElementsAre(at(56, 166.8), at(674, 166.8)));
  ASSERT_FALSE(chart.fills.empty());
  EXPECT_EQ(chart.fills[0].colour, kEventShade);
  EXPECT_NEAR(chart.fills[0].x, x(60), 1e-6);
  EXPECT_NEAR(chart.fills[0].width, x(120) - x(60), 1e-6);
}

// An outage is shaded instead of drawn: a voltage near nothing would take the axis to -100 %.
TEST(DeviationTimeChart, AnOutageIsShadedAndLeftOutOfTheLineAndTheAxis) {
  AssessmentResult result = deviationFixture();
  result.trends.deviation.outage[4] = true;
  result.trends.deviation.lines[0][4] = -98.5;
  const PageDrawing chart = deviationTimeChart(result);
  const auto x = [](double seconds) { return 56 + seconds / 420 * 618; };
  const auto y = [](double percent) { return 192 - (percent + 10) / 20 * 168; };
  const auto phaseA = linesOf(chart, kPhaseColours[0]);
  ASSERT_EQ(phaseA.size(), 2u);  // the first run and the legend's key; 300 s alone is a dot
  EXPECT_THAT(phaseA[0].points, ElementsAre(at(x(0), y(1.25)), at(x(60), y(-2.5)), at(x(120), y(3.75))));
  const auto outage = std::find_if(chart.fills.begin(), chart.fills.end(),
                                   [](const PageFill& f) { return f.colour == kOutageShade; });
  ASSERT_NE(outage, chart.fills.end());
  EXPECT_NEAR(outage->x, x(360), 1e-6);
  EXPECT_NEAR(outage->width, x(420) - x(360), 1e-6);
}

TEST(HarmonicChart, ABarOverItsLimitIsColouredApartAndEachOrderHasItsLimit) {
  AssessmentResult result;
  result.harmonics.push_back({Ub, 5, harmonic(3.375, 3.2, Verdict::Fail)});
  result.harmonics.push_back({Ub, 0, harmonic(2.75, 4, Verdict::Pass)});
  result.harmonics.push_back({Uc, 0, harmonic(9.5, 4, Verdict::Fail)});  // another channel
  const PageDrawing chart = harmonicChart(result, Ub);
  // The distortion first: x -0.5..1.5 over 56..674; y 0..5 % over 142..24.
  const auto x = [](double position) { return 56 + (position + 0.5) / 2 * 618; };
  const auto y = [](double percent) { return 142 - percent / 5 * 118; };
  ASSERT_GE(chart.fills.size(), 2u);
  EXPECT_THAT(chart.fills[0], FieldsAre(DoubleNear(x(-0.32), 1e-6), DoubleNear(y(2.75), 1e-6),
                                        DoubleNear(x(0.32) - x(-0.32), 1e-6), DoubleNear(142 - y(2.75), 1e-6),
                                        kSeriesColour));
  EXPECT_THAT(chart.fills[1], FieldsAre(DoubleNear(x(0.68), 1e-6), DoubleNear(y(3.375), 1e-6),
                                        DoubleNear(x(1.32) - x(0.68), 1e-6), DoubleNear(142 - y(3.375), 1e-6),
                                        kOverLimitColour));
  const auto limits = linesOf(chart, {0, 0, 0});
  const auto limitOfFifth = std::find_if(limits.begin(), limits.end(), [&](const PagePolyline& l) {
    return l.dashed && l.points.size() == 2 && std::abs(l.points[0].x - x(0.55)) < 1e-6;
  });
  ASSERT_NE(limitOfFifth, limits.end());
  EXPECT_THAT(limitOfFifth->points, ElementsAre(at(x(0.55), y(3.2)), at(x(1.45), y(3.2))));
  std::vector<std::string> ticks;
  for (const PageLabel& label : chart.labels)
    if (label.anchor.y == 145) ticks.push_back(label.text);
  EXPECT_THAT(ticks, ElementsAre("THD", "5"));
}

TEST(AssessmentCharts, NothingToDrawGivesNoChart) {
  const AssessmentResult empty{};
  EXPECT_TRUE(deviationTimeChart(empty).empty());
  EXPECT_TRUE(deviationDistributionChart(empty).empty());
  EXPECT_TRUE(unbalanceChart(empty).empty());
  EXPECT_TRUE(frequencyChart(empty).empty());
  EXPECT_TRUE(harmonicChart(empty, Ia).empty());
  EXPECT_TRUE(eventChart(empty, eventClassTable({}, 1)).empty());
}

}  // namespace
}  // namespace pq
