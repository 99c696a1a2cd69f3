#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pages/PageFont.h"

namespace pq {

struct PageColour {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const PageColour&) const = default;
};

// Positions of drawings are in design pixels (1/96 inch) but not whole: a day's minutes on a chart
// a few hundred pixels wide fall between pixels, and the printer and PDF resolve them.
struct PagePoint {
  double x = 0, y = 0;
  bool operator==(const PagePoint&) const = default;
};

// A line through the points, `width` design pixels wide; a dashed one marks a limit.
struct PagePolyline {
  std::vector<PagePoint> points;
  PageColour colour;
  double width = 1;
  bool dashed = false;
  bool operator==(const PagePolyline&) const = default;
};

// A rectangle filled with one colour, without outline: bars, shaded spans, legend keys.
struct PageFill {
  double x = 0, y = 0, width = 0, height = 0;
  PageColour colour;
  bool operator==(const PageFill&) const = default;
};

// A filled circle of `diameter` centred on the point.
struct PageMarker {
  PagePoint centre;
  double diameter = 5;
  PageColour colour;
  bool operator==(const PageMarker&) const = default;
};

// A text of a drawing, placed by one of its corners or edge centres rather than by its top-left
// corner alone, since a chart knows where its tick is but not how wide the painter draws the label;
// `angle` turns it clockwise in degrees about the anchor. Drawn without a background.
struct PageLabel {
  enum class Horizontal { Left, Centre, Right };
  enum class Vertical { Top, Middle, Bottom };
  PagePoint anchor;
  std::string text;
  PageFont font;
  PageColour colour;
  Horizontal horizontal = Horizontal::Left;
  Vertical vertical = Vertical::Top;
  double angle = 0;
  bool operator==(const PageLabel&) const = default;
};

// A picture made of those elements, `width` x `height` design pixels from its own top-left corner: a
// chart. It is placed on a page (ReportPage::place) or drawn alone (a picture in another document).
// The painter draws fills first, then lines, markers and labels, each kind in the order added.
struct PageDrawing {
  int width = 0;
  int height = 0;
  std::vector<PageFill> fills;
  std::vector<PagePolyline> polylines;
  std::vector<PageMarker> markers;
  std::vector<PageLabel> labels;

  bool empty() const { return fills.empty() && polylines.empty() && markers.empty() && labels.empty(); }
  // Adds the elements of `other` moved by (dx, dy).
  void append(const PageDrawing& other, double dx, double dy);
  bool operator==(const PageDrawing&) const = default;
};

}  // namespace pq
