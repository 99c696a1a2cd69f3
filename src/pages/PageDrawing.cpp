#include "pages/PageDrawing.h"

namespace pq {

void PageDrawing::append(const PageDrawing& other, double dx, double dy) {
  for (PageFill fill : other.fills) {
    fill.x += dx;
    fill.y += dy;
    fills.push_back(fill);
  }
  for (PagePolyline line : other.polylines) {
    for (PagePoint& p : line.points) {
      p.x += dx;
      p.y += dy;
    }
    polylines.push_back(std::move(line));
  }
  for (PageMarker marker : other.markers) {
    marker.centre.x += dx;
    marker.centre.y += dy;
    markers.push_back(marker);
  }
  for (PageLabel label : other.labels) {
    label.anchor.x += dx;
    label.anchor.y += dy;
    labels.push_back(std::move(label));
  }
}

}  // namespace pq
