#pragma once

#include <QFont>

#include "pages/ReportPage.h"

class QPainter;

namespace pq {

// Paints a report page on any paint device. The painter's coordinate system must map one design
// pixel (1/96 inch from the paper's top-left corner) to where it belongs on the device; paintPage
// takes care of everything inside that.
class ReportPagePainter {
 public:
  // Draws lines and texts, each text on an opaque white background with its top-left corner at its
  // design position. `pixelsPerDesignPixel` is the device's resolution divided by 96.
  static void paintPage(QPainter& painter, const ReportPage& page, double pixelsPerDesignPixel);

  // The font a page font is drawn with: Arial through its metric twin, Chinese through a CJK font.
  static QFont qtFont(const PageFont& font);
};

}  // namespace pq
