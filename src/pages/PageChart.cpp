#include "pages/PageChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pages/PageFlow.h"

namespace pq {

namespace {

constexpr PageColour kBlack{0, 0, 0};
constexpr PageColour kGridColour{220, 220, 220};
const PageFont kChartTickFont{"Arial", 8, false};
const PageFont kChartTitleFont{"Arial", 9, true};
constexpr int kLegendKey = 18;

double mapped(double value, double min, double max, double from, double to) {
  if (!(max > min)) return from;
  const double t = std::clamp((value - min) / (max - min), 0.0, 1.0);
  return from + t * (to - from);
}

PageLabel label(double x, double y, std::string text, const PageFont& font, PageLabel::Horizontal h,
                PageLabel::Vertical v, PageColour colour = kBlack) {
  PageLabel l;
  l.anchor = {x, y};
  l.text = std::move(text);
  l.font = font;
  l.colour = colour;
  l.horizontal = h;
  l.vertical = v;
  return l;
}

}  // namespace

RoundAxis roundAxis(double low, double high, int most, int decimals) {
  RoundAxis axis;
  if (!std::isfinite(low) || !std::isfinite(high) || most < 2) return axis;
  if (!(high > low)) {
    // One value: a unit either side of it.
    low -= 1;
    high += 1;
  }
  // The smallest round step that spans the range in `most` - 1 steps, once widened to whole steps.
  const double power = std::pow(10.0, std::floor(std::log10((high - low) / (most - 1))));
  double step = power;
  for (const double factor : {1.0, 2.0, 5.0, 10.0, 20.0}) {
    step = power * factor;
    if (std::ceil(high / step - 1e-9) - std::floor(low / step + 1e-9) <= most - 1) break;
  }
  const double first = std::floor(low / step + 1e-9);
  const double last = std::ceil(high / step - 1e-9);
  axis.min = first * step;
  axis.max = last * step;
  for (double k = first; k <= last; ++k) {
    const double value = k * step;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, k == 0 ? 0.0 : value);
    axis.ticks.push_back({value, text});
  }
  return axis;
}

PageChart::PageChart(int width, int height, std::string title)
    : width_(width), height_(height), title_(std::move(title)) {}

void PageChart::setXAxis(double min, double max, std::vector<AxisTick> ticks, std::string title) {
  x_ = {min, max, std::move(ticks), std::move(title)};
}

void PageChart::setYAxis(double min, double max, std::vector<AxisTick> ticks, std::string title) {
  y_ = {min, max, std::move(ticks), std::move(title)};
}

double PageChart::xOf(double value) const { return mapped(value, x_.min, x_.max, plotLeft(), plotRight()); }

double PageChart::yOf(double value) const { return mapped(value, y_.min, y_.max, plotBottom(), plotTop()); }

void PageChart::addPolyline(std::vector<PagePoint> points, PageColour colour, double width, bool dashed) {
  if (points.size() >= 2) lines_.push_back({std::move(points), colour, width, dashed});
}

void PageChart::addLine(std::span<const double> xs, std::span<const double> ys, PageColour colour,
                        double longestStep, std::string legend) {
  const std::size_t n = std::min(xs.size(), ys.size());
  std::vector<PagePoint> run;
  // The points of the pixel column at hand: its first, lowest, highest and last.
  long column = 0;
  std::size_t first = 0, lowest = 0, highest = 0, last = 0;
  bool open = false;
  const auto flush = [&] {
    if (!open) return;
    std::size_t picks[4] = {first, lowest, highest, last};
    std::sort(picks, picks + 4);
    for (std::size_t k = 0; k < 4; ++k) {
      if (k > 0 && picks[k] == picks[k - 1]) continue;
      run.push_back({xOf(xs[picks[k]]), yOf(ys[picks[k]])});
    }
    open = false;
  };
  const auto breakLine = [&] {
    flush();
    if (run.size() == 1) markers_.push_back({run.front(), 2, colour});  // a lone value still shows
    addPolyline(std::move(run), colour, 1, false);
    run.clear();
  };
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(ys[i])) {
      breakLine();
      continue;
    }
    if (open && xs[i] - xs[last] > longestStep) breakLine();
    const long c = std::lround(std::floor(xOf(xs[i])));
    if (open && c == column) {
      if (ys[i] < ys[lowest]) lowest = i;
      if (ys[i] > ys[highest]) highest = i;
      last = i;
      continue;
    }
    flush();
    column = c;
    first = lowest = highest = last = i;
    open = true;
  }
  breakLine();
  if (!legend.empty()) addLegend(std::move(legend), colour, false);
}

void PageChart::addLimit(double y, PageColour colour, std::string legend) {
  addPolyline({{plotLeft(), yOf(y)}, {plotRight(), yOf(y)}}, colour, 1, true);
  if (!legend.empty()) addLegend(std::move(legend), colour, false, true);
}

void PageChart::addVerticalLimit(double x, PageColour colour) {
  addPolyline({{xOf(x), plotTop()}, {xOf(x), plotBottom()}}, colour, 1, true);
}

void PageChart::addLimitSegment(double x0, double x1, double y, PageColour colour) {
  addPolyline({{xOf(x0), yOf(y)}, {xOf(x1), yOf(y)}}, colour, 1.5, true);
}

void PageChart::addSpan(double x0, double x1, PageColour colour) {
  const double left = xOf(x0);
  fills_.push_back({left, plotTop(), std::max(xOf(x1) - left, 1.0), plotBottom() - plotTop(), colour});
}

void PageChart::addBar(double x0, double x1, double y, PageColour colour) {
  const double base = yOf(y_.min <= 0 && y_.max >= 0 ? 0 : y_.min);
  const double top = yOf(y);
  const double left = xOf(x0);
  fills_.push_back({left, std::min(base, top), xOf(x1) - left, std::fabs(base - top), colour});
}

void PageChart::addMarker(double x, double y, PageColour colour, double diameter) {
  markers_.push_back({{xOf(x), yOf(y)}, diameter, colour});
}

void PageChart::addLegend(std::string text, PageColour colour, bool filled, bool dashed) {
  for (const Legend& entry : legend_)
    if (entry.text == text) return;
  legend_.push_back({std::move(text), colour, filled, dashed});
}

PageDrawing PageChart::finish() {
  PageDrawing drawing;
  drawing.width = width_;
  drawing.height = height_;
  const double left = plotLeft(), right = plotRight(), top = plotTop(), bottom = plotBottom();

  drawing.fills = std::move(fills_);
  for (const AxisTick& tick : y_.ticks)
    drawing.polylines.push_back({{{left, yOf(tick.value)}, {right, yOf(tick.value)}}, kGridColour, 1, false});
  for (const AxisTick& tick : x_.ticks)
    drawing.polylines.push_back({{{xOf(tick.value), top}, {xOf(tick.value), bottom}}, kGridColour, 1, false});
  for (PagePolyline& line : lines_) drawing.polylines.push_back(std::move(line));
  drawing.polylines.push_back({{{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}, kBlack, 1, false});
  drawing.markers = std::move(markers_);

  drawing.labels.push_back(label(width_ / 2.0, 2, title_, kChartTitleFont, PageLabel::Horizontal::Centre,
                                 PageLabel::Vertical::Top));
  for (const AxisTick& tick : y_.ticks)
    drawing.labels.push_back(label(left - 4, yOf(tick.value), tick.label, kChartTickFont, PageLabel::Horizontal::Right,
                                   PageLabel::Vertical::Middle));
  // A label of a tick at an end of the axis stays inside the plot's width, clear of the y axis's.
  for (const AxisTick& tick : x_.ticks) {
    const double x = xOf(tick.value);
    const auto align = x <= left + 0.5    ? PageLabel::Horizontal::Left
                       : x >= right - 0.5 ? PageLabel::Horizontal::Right
                                          : PageLabel::Horizontal::Centre;
    drawing.labels.push_back(label(x, bottom + 3, tick.label, kChartTickFont, align, PageLabel::Vertical::Top));
  }
  // The y axis's title turned up the left edge, the x axis's under its ticks.
  PageLabel yTitle = label(4, (top + bottom) / 2, y_.title, kChartTickFont, PageLabel::Horizontal::Centre,
                           PageLabel::Vertical::Top);
  yTitle.angle = -90;
  drawing.labels.push_back(std::move(yTitle));
  drawing.labels.push_back(label((left + right) / 2, bottom + 18, x_.title, kChartTickFont,
                                 PageLabel::Horizontal::Centre, PageLabel::Vertical::Top));

  // The legend in one row under the axis title, each key followed by its text.
  double x = left;
  const double y = height_ - 12.0;
  for (const Legend& entry : legend_) {
    if (entry.filled) {
      drawing.fills.push_back({x, y - 4, kLegendKey, 8, entry.colour});
    } else {
      drawing.polylines.push_back({{{x, y}, {x + kLegendKey, y}}, entry.colour, entry.dashed ? 1.0 : 1.5, entry.dashed});
    }
    drawing.labels.push_back(label(x + kLegendKey + 4, y, entry.text, kChartTickFont, PageLabel::Horizontal::Left,
                                   PageLabel::Vertical::Middle));
    x += kLegendKey + 4 + PageFlow::textWidth(entry.text, kChartTickFont.points) + 16;
  }
  return drawing;
}

}  // namespace pq
