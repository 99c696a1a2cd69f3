#include "assessment/AssessmentCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTexts.h"
#include "pages/PageFlow.h"
#include "records/MeasurementRecord.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

constexpr int kTimeChartHeight = 250;
constexpr int kDistributionHeight = 230;
constexpr int kHarmonicHeight = 200;
constexpr int kEventHeight = 270;
constexpr PageColour kDipColour{30, 90, 180};
constexpr PageColour kInterruptionColour{0, 0, 0};

// The lowest and highest finite values of the lines, and of the extra values given.
std::pair<double, double> rangeOf(const std::vector<std::vector<double>>& lines, std::initializer_list<double> extra) {
  double low = INFINITY, high = -INFINITY;
  for (const auto& line : lines)
    for (const double v : line)
      if (std::isfinite(v)) {
        low = std::min(low, v);
        high = std::max(high, v);
      }
  for (const double v : extra)
    if (std::isfinite(v)) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
  return {low, high};
}

// A chart of a trend against time: its x axis, and the seconds of each interval after the first.
struct TimeFrame {
  std::int64_t origin;
  std::vector<double> xs;
};
TimeFrame timeAxis(PageChart& chart, const TrendSeries& trend) {
  TimeFrame frame{trend.starts.front(), {}};
  frame.xs.reserve(trend.starts.size());
  for (const std::int64_t start : trend.starts) frame.xs.push_back(static_cast<double>(start - frame.origin));
  const std::int64_t end = trend.starts.back() + trend.intervalSeconds;
  chart.setXAxis(0, static_cast<double>(end - frame.origin), timeTicks(frame.origin, end, frame.origin, 7), "时间");
  return frame;
}

// The lines of a trend without the values of its outages, which the shading shows instead: a
// voltage near nothing would take the axis down to -100 % and hide the deviations judged.
std::vector<std::vector<double>> linesOutsideOutages(const TrendSeries& trend) {
  std::vector<std::vector<double>> lines = trend.lines;
  for (std::vector<double>& line : lines)
    for (std::size_t i = 0; i < line.size() && i < trend.outage.size(); ++i)
      if (trend.outage[i]) line[i] = NAN;
  return lines;
}

// Shades the runs of intervals with a voltage event inside, and those of an outage.
void shadeMarkedIntervals(PageChart& chart, const TrendSeries& trend, const TimeFrame& frame) {
  const auto shade = [&](const std::vector<bool>& marks, const std::vector<bool>* except, PageColour colour,
                         const char* legend) {
    bool any = false;
    for (std::size_t i = 0; i < marks.size();) {
      if (!marks[i] || (except != nullptr && (*except)[i])) {
        ++i;
        continue;
      }
      std::size_t end = i + 1;
      while (end < marks.size() && marks[end] && !(except != nullptr && (*except)[end]) &&
             trend.starts[end] - trend.starts[end - 1] <= trend.intervalSeconds)
        ++end;
      chart.addSpan(frame.xs[i], frame.xs[end - 1] + trend.intervalSeconds, colour);
      any = true;
      i = end;
    }
    if (any) chart.addLegend(legend, colour, true);
  };
  shade(trend.flagged, &trend.outage, kEventShade, "含电压事件");
  shade(trend.outage, nullptr, kOutageShade, "停电");
}

std::string percentLimitText(const char* name, double value) {
  return std::string(name) + " " + (value > 0 ? "+" : "") + pageNumber(value, 2) + "%";
}

}  // namespace

int assessmentChartWidth() { return PageFlow::kRight - PageFlow::kLeft; }

std::vector<AxisTick> timeTicks(std::int64_t first, std::int64_t last, std::int64_t origin, int most) {
  constexpr std::int64_t kSteps[] = {600, 1800, 3600, 2 * 3600, 3 * 3600, 6 * 3600, 12 * 3600,
                                     86400, 2 * 86400, 7 * 86400, 14 * 86400, 28 * 86400};
  std::int64_t step = kSteps[std::size(kSteps) - 1];
  for (const std::int64_t s : kSteps) {
    if ((last - first) / s + 1 <= most) {
      step = s;
      break;
    }
  }
  std::vector<AxisTick> ticks;
  const std::int64_t start = (first + step - 1) / step * step;
  for (std::int64_t t = start; t <= last; t += step) {
    const CalendarDateTime c = calendarOfEpochSeconds(t);
    char text[32];
    if (step >= 86400) {
      std::snprintf(text, sizeof text, "%02d-%02d", c.month, c.day);
    } else {
      std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d", c.month, c.day, c.hour, c.minute);
    }
    ticks.push_back({static_cast<double>(t - origin), text});
  }
  return ticks;
}

PageDrawing deviationTimeChart(const AssessmentResult& result) {
  const TrendSeries& trend = result.trends.deviation;
  if (trend.starts.empty() || trend.lines.size() != 3) return {};
  const IndexAssessment& index = result.deviation[0].index;
  PageChart chart(assessmentChartWidth(), kTimeChartHeight, "供电电压偏差（1分钟值）");
  const TimeFrame frame = timeAxis(chart, trend);
  const std::vector<std::vector<double>> lines = linesOutsideOutages(trend);
  const auto [low, high] = rangeOf(lines, {index.upperLimit, index.lowerLimit, 0});
  const RoundAxis y = roundAxis(low, high, 7, 1);
  chart.setYAxis(y.min, y.max, y.ticks, "偏差 %");
  shadeMarkedIntervals(chart, trend, frame);
  const bool lineVoltages = result.setup.supply.lineVoltages;
  for (int phase = 0; phase < 3; ++phase) {
    chart.addLine(frame.xs, lines[static_cast<std::size_t>(phase)], kPhaseColours[phase], trend.intervalSeconds,
                  std::string(phaseLabel(phase, lineVoltages)) + (lineVoltages ? "" : "相"));
  }
  if (std::isfinite(index.upperLimit)) {
    chart.addLimit(index.upperLimit, kLimitColour, percentLimitText("上限", index.upperLimit));
    chart.addLimit(index.lowerLimit, kLimitColour, percentLimitText("下限", index.lowerLimit));
  }
  return chart.finish();
}

PageDrawing deviationDistributionChart(const AssessmentResult& result) {
  const TrendSeries& trend = result.trends.deviation;
  if (trend.starts.empty() || trend.lines.size() != 3) return {};
  // The minutes the deviation judged: no event or outage inside, a value.
  std::vector<std::vector<double>> judged(3);
  for (std::size_t phase = 0; phase < 3; ++phase) {
    for (std::size_t i = 0; i < trend.starts.size(); ++i) {
      const double v = trend.lines[phase][i];
      if (!trend.flagged[i] && !trend.outage[i] && std::isfinite(v)) judged[phase].push_back(v);
    }
    std::sort(judged[phase].begin(), judged[phase].end());
  }
  if (judged[0].empty() && judged[1].empty() && judged[2].empty()) return {};
  const IndexAssessment& first = result.deviation[0].index;
  PageChart chart(assessmentChartWidth(), kDistributionHeight, "电压偏差的累积分布（1分钟值）");
  const auto [low, high] = rangeOf(judged, {first.upperLimit, first.lowerLimit});
  const RoundAxis x = roundAxis(low, high, 9, 1);
  chart.setXAxis(x.min, x.max, x.ticks, "偏差 %");
  chart.setYAxis(0, 100, roundAxis(0, 100, 6, 0).ticks, "累积概率 %");
  const bool lineVoltages = result.setup.supply.lineVoltages;
  for (std::size_t phase = 0; phase < 3; ++phase) {
    const std::vector<double>& values = judged[phase];
    if (values.empty()) continue;
    const auto count = static_cast<double>(values.size());
    std::vector<double> shares(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) shares[i] = 100.0 * static_cast<double>(i + 1) / count;
    const PageColour colour = kPhaseColours[phase];
    const int p = static_cast<int>(phase);
    const double p95 = result.deviation[phase].index.p95;
    std::string name = std::string(phaseLabel(p, lineVoltages)) + (lineVoltages ? "" : "相");
    if (std::isfinite(p95)) name += "（●95%值 " + pageNumber(p95, 2) + "%）";
    chart.addLine(values, shares, colour, INFINITY, name);
    if (std::isfinite(p95)) {
      const auto atOrBelow = std::upper_bound(values.begin(), values.end(), p95) - values.begin();
      chart.addMarker(p95, 100.0 * static_cast<double>(atOrBelow) / count, colour, 6);
    }
  }
  if (std::isfinite(first.upperLimit)) {
    chart.addVerticalLimit(first.upperLimit, kLimitColour);
    chart.addVerticalLimit(first.lowerLimit, kLimitColour);
    chart.addLegend("限值 +" + pageNumber(first.upperLimit, 2) + "%/" + pageNumber(first.lowerLimit, 2) + "%",
                    kLimitColour, false, true);
  }
  return chart.finish();
}

PageDrawing unbalanceChart(const AssessmentResult& result) {
  const TrendSeries& trend = result.trends.unbalance;
  if (trend.starts.empty() || trend.lines.empty()) return {};
  const IndexAssessment& index = result.unbalance.voltage;
  PageChart chart(assessmentChartWidth(), kTimeChartHeight, "三相电压不平衡度（10分钟值）");
  const TimeFrame frame = timeAxis(chart, trend);
  const std::vector<std::vector<double>> lines = linesOutsideOutages(trend);
  const auto [low, high] = rangeOf(lines, {0, index.upperLimit, index.largestLimit});
  const RoundAxis y = roundAxis(low, high * 1.1, 6, 1);
  chart.setYAxis(y.min, y.max, y.ticks, "不平衡度 %");
  shadeMarkedIntervals(chart, trend, frame);
  chart.addLine(frame.xs, lines[0], kSeriesColour, trend.intervalSeconds, "负序电压不平衡度");
  if (std::isfinite(index.upperLimit)) {
    chart.addLimit(index.upperLimit, kLimitColour, "95%值限值 " + pageNumber(index.upperLimit, 2) + "%");
    chart.addLimit(index.largestLimit, {120, 0, 120}, "最大值限值 " + pageNumber(index.largestLimit, 2) + "%");
  }
  return chart.finish();
}

PageDrawing frequencyChart(const AssessmentResult& result) {
  const TrendSeries& trend = result.trends.frequency;
  if (trend.starts.empty() || trend.lines.empty()) return {};
  const IndexAssessment& index = result.frequency.index;
  PageChart chart(assessmentChartWidth(), kTimeChartHeight, "频率偏差（10秒值）");
  const TimeFrame frame = timeAxis(chart, trend);
  const double limit = result.setup.limits.frequencyDeviation;
  const std::vector<std::vector<double>> lines = linesOutsideOutages(trend);
  const auto [low, high] = rangeOf(lines, {limit, -limit});
  const RoundAxis y = roundAxis(low * 1.1, high * 1.1, 7, 2);
  chart.setYAxis(y.min, y.max, y.ticks, "偏差 Hz");
  shadeMarkedIntervals(chart, trend, frame);
  chart.addLine(frame.xs, lines[0], kSeriesColour, trend.intervalSeconds, "频率偏差");
  if (std::isfinite(index.upperLimit)) {
    chart.addLimit(index.upperLimit, kLimitColour, "限值 ±" + pageNumber(index.upperLimit, 3) + " Hz");
    chart.addLimit(index.lowerLimit, kLimitColour, "");
  }
  return chart.finish();
}

PageDrawing harmonicChart(const AssessmentResult& result, int channel) {
  std::vector<const HarmonicIndex*> indices;
  // The distortion first, then the orders.
  for (const HarmonicIndex& h : result.harmonics)
    if (h.channel == channel && h.order == 0) indices.push_back(&h);
  for (const HarmonicIndex& h : result.harmonics)
    if (h.channel == channel && h.order != 0) indices.push_back(&h);
  if (indices.empty()) return {};
  const bool voltage = isVoltageChannel(channel);
  PageChart chart(assessmentChartWidth(), kHarmonicHeight,
                  std::string(kChannelNames[channel]) + (voltage ? " 谐波电压含有率的95%值" : " 谐波电流的95%值"));
  std::vector<AxisTick> ticks;
  double high = 0;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const HarmonicIndex& h = *indices[i];
    ticks.push_back({static_cast<double>(i), h.order == 0 ? std::string("THD") : std::to_string(h.order)});
    for (const double v : {h.index.p95, h.index.upperLimit})
      if (std::isfinite(v)) high = std::max(high, v);
  }
  chart.setXAxis(-0.5, static_cast<double>(indices.size()) - 0.5, ticks, voltage ? "次数" : "次数");
  const RoundAxis y = roundAxis(0, high > 0 ? high * 1.05 : 1, 6, high >= 10 ? 0 : 1);
  chart.setYAxis(y.min, y.max, y.ticks, voltage ? "含有率 %" : "电流 A");
  bool anyOver = false;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const IndexAssessment& index = indices[i]->index;
    const double x = static_cast<double>(i);
    const bool over = index.verdict == Verdict::Fail;
    anyOver = anyOver || over;
    if (std::isfinite(index.p95)) chart.addBar(x - 0.32, x + 0.32, index.p95, over ? kOverLimitColour : kSeriesColour);
    if (std::isfinite(index.upperLimit) && index.upperLimit > 0)
      chart.addLimitSegment(x - 0.45, x + 0.45, index.upperLimit, {0, 0, 0});
  }
  chart.addLegend("95%值", kSeriesColour, true);
  if (anyOver) chart.addLegend("95%值超过限值", kOverLimitColour, true);
  chart.addLegend("限值", {0, 0, 0}, false, true);
  return chart.finish();
}

PageDrawing eventChart(const AssessmentResult& result, const EventClassTable& classes) {
  bool any = false;
  for (const VoltageEvent& e : result.events) any = any || isShortEvent(e.kind);
  if (!any) return {};
  PageChart chart(assessmentChartWidth(), kEventHeight, "电压暂降、暂升与短时中断的分布");
  // Durations on a logarithmic axis from half a second to the minute that bounds them.
  const double shortest = std::log10(0.5);
  const double longest = std::log10(60.0);
  std::vector<AxisTick> xTicks;
  for (const auto& [seconds, text] : {std::pair{0.5, "0.5"}, {1.0, "1"}, {2.0, "2"}, {5.0, "5"}, {10.0, "10"},
                                      {20.0, "20"}, {60.0, "60"}})
    xTicks.push_back({std::log10(seconds), text});
  chart.setXAxis(shortest, longest, xTicks, "持续时间 s（对数坐标）");
  std::vector<AxisTick> yTicks;
  for (const int v : {0, 10, 40, 70, 80, 90, 110, 120, 140}) yTicks.push_back({static_cast<double>(v), std::to_string(v)});
  chart.setYAxis(0, 140, yTicks, "剩余电压/峰值 %");
  for (const EventClassTable::Column& column : classes.columns)
    if (column.upperSeconds < 60 && column.upperSeconds > 0.5) chart.addVerticalLimit(std::log10(column.upperSeconds), {120, 120, 120});
  for (const VoltageEvent& e : result.events) {
    if (!isShortEvent(e.kind)) continue;
    const PageColour colour = e.kind == VoltageEventKind::Swell          ? kOverLimitColour
                              : e.kind == VoltageEventKind::Interruption ? kInterruptionColour
                                                                         : kDipColour;
    chart.addMarker(std::log10(std::max(e.durationSeconds, 1)), std::clamp(e.extremePercent, 0.0, 140.0), colour, 6);
  }
  chart.addLegend("电压暂降", kDipColour, true);
  chart.addLegend("电压暂升", kOverLimitColour, true);
  chart.addLegend("短时中断", kInterruptionColour, true);
  chart.addLegend("分类界限", {120, 120, 120}, false, true);
  return chart.finish();
}

}  // namespace pq
