#pragma once

#include <span>
#include <string>
#include <vector>

#include "pages/PageDrawing.h"

namespace pq {

// A tick of an axis: where it is, in the axis's values, and what it says.
struct AxisTick {
  double value = 0;
  std::string label;
};

// An axis over `low` to `high` widened to whole round steps (1, 2 or 5 times a power of ten) with
// ticks at each, no more than `most` of them, labelled with `decimals` decimals.
struct RoundAxis {
  double min = 0;
  double max = 1;
  std::vector<AxisTick> ticks;
};
RoundAxis roundAxis(double low, double high, int most, int decimals);

// Builds a chart as a drawing: a plot area with its axes, grid, ticks and their labels, a title above
// and a legend below, and what is plotted in it in the axes' values. Everything is drawn from values
// mapped through xOf() and yOf(), so a test can say where an element must be.
class PageChart {
 public:
  // The plot area lies kLeftRoom from the left edge, kRightRoom from the right, kTopRoom from the
  // top (the title) and kBottomRoom from the bottom (tick labels, the axis title and the legend).
  static constexpr int kLeftRoom = 56;
  static constexpr int kRightRoom = 14;
  static constexpr int kTopRoom = 24;
  static constexpr int kBottomRoom = 58;

  PageChart(int width, int height, std::string title);

  void setXAxis(double min, double max, std::vector<AxisTick> ticks, std::string title);
  void setYAxis(double min, double max, std::vector<AxisTick> ticks, std::string title);

  double plotLeft() const { return kLeftRoom; }
  double plotRight() const { return width_ - kRightRoom; }
  double plotTop() const { return kTopRoom; }
  double plotBottom() const { return height_ - kBottomRoom; }
  // The position of an axis value, clamped to the plot area.
  double xOf(double value) const;
  double yOf(double value) const;

  // A line through the points; a y that is no number, or a step in x longer than `longestStep`,
  // breaks it (a gap stays a gap). More points than the plot has pixel columns are thinned to the
  // first, lowest, highest and last of each column, which draws the same.
  void addLine(std::span<const double> xs, std::span<const double> ys, PageColour colour, double longestStep,
               std::string legend);
  // A dashed line across the plot at y, a limit; its legend says which.
  void addLimit(double y, PageColour colour, std::string legend);
  // A dashed vertical line at x across the plot.
  void addVerticalLimit(double x, PageColour colour);
  // A dashed line at y over [x0, x1] only (a limit of one bar).
  void addLimitSegment(double x0, double x1, double y, PageColour colour);
  // A shaded span of x over the plot's height.
  void addSpan(double x0, double x1, PageColour colour);
  // A bar over [x0, x1] from the x axis (the y minimum, or 0 where the axis spans it) to y.
  void addBar(double x0, double x1, double y, PageColour colour);
  void addMarker(double x, double y, PageColour colour, double diameter = 5);
  // An entry of the legend: a line key, or a filled key for spans and bars.
  void addLegend(std::string text, PageColour colour, bool filled, bool dashed = false);

  // The drawing: grid and shading under the plotted lines, the frame and texts on top.
  PageDrawing finish();

 private:
  struct Axis {
    double min = 0, max = 1;
    std::vector<AxisTick> ticks;
    std::string title;
  };
  struct Legend {
    std::string text;
    PageColour colour;
    bool filled;
    bool dashed;
  };
  void addPolyline(std::vector<PagePoint> points, PageColour colour, double width, bool dashed);

  int width_;
  int height_;
  std::string title_;
  Axis x_;
  Axis y_;
  std::vector<PageFill> fills_;
  std::vector<PagePolyline> lines_;
  std::vector<PageMarker> markers_;
  std::vector<Legend> legend_;
};

// Colours the charts share: phases A, B, C as the instrument's program paints them (yellow drawn
// as amber, so that it shows on paper), limits, and shading.
inline constexpr PageColour kPhaseColours[3] = {{214, 160, 0}, {0, 140, 60}, {200, 30, 30}};
inline constexpr PageColour kLimitColour{200, 0, 0};
inline constexpr PageColour kSeriesColour{30, 90, 180};
inline constexpr PageColour kOverLimitColour{215, 40, 40};
inline constexpr PageColour kEventShade{255, 224, 178};
inline constexpr PageColour kOutageShade{205, 205, 205};

}  // namespace pq
