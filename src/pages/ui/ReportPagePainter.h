#pragma once

#include <QByteArray>
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

  // Draws a drawing (a chart) with its top-left corner at the painter's origin, one design pixel to
  // `pixelsPerDesignPixel` device pixels: for a picture of a chart alone.
  static void paintDrawing(QPainter& painter, const PageDrawing& drawing, double pixelsPerDesignPixel);
  // The drawing as a PNG image, `pixelsPerDesignPixel` device pixels to a design pixel, on white.
  static QByteArray drawingPng(const PageDrawing& drawing, double pixelsPerDesignPixel);

  // The font a page font is drawn with: Arial through its metric twin, Chinese through a CJK font.
  static QFont qtFont(const PageFont& font);
};

}  // namespace pq
