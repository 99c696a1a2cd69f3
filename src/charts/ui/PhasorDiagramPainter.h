#pragma once

#include <QRect>

#include "charts/PhasorDiagram.h"

class QPainter;

namespace pq::history {

// Draws a phasor diagram display list: logical units are 16 to a pixel, y points up and the origin
// lies at pixel (140, 140) of `area`; everything is clipped to the area (273 x 273 on the windows).
// Used by PhasorDiagramWidget and by anything that wants the picture in an image.
class PhasorDiagramPainter {
 public:
  static constexpr int kAreaSide = 273;
  static constexpr double kUnitsPerPixel = 16;
  static constexpr int kOriginPixel = 140;

  static void paint(QPainter& painter, const PhasorDiagram& diagram,
                    const QRect& area = QRect(0, 0, kAreaSide, kAreaSide));
};

}  // namespace pq::history
