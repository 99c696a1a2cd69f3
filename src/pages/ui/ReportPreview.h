#pragma once

#include <QPrintPreviewWidget>
#include <vector>

#include "pages/ReportPage.h"

namespace pq {

// The zoom steps of the report window: +5 below 200 %, -5 above 5 %.
double zoomedIn(double percent);
double zoomedOut(double percent);

// The embedded page preview of the report window, the viewer and the assessment window: shows pages
// on A4 paper, the first page at 100 % at first.
class ReportPreview : public QPrintPreviewWidget {
  Q_OBJECT

 public:
  ReportPreview(QPrinter& printer, QWidget* parent = nullptr);

  // Shows these pages from the first one on.
  void showPages(std::vector<ReportPage> pages);
  const std::vector<ReportPage>& pages() const { return pages_; }

  // The zoom in percent, rounded to a millionth so that steps of 5 add up exactly.
  double zoomPercent() const;
  void setZoomPercent(double percent);
  void stepZoomIn() { setZoomPercent(zoomedIn(zoomPercent())); }
  void stepZoomOut() { setZoomPercent(zoomedOut(zoomPercent())); }

 private:
  std::vector<ReportPage> pages_;
};

}  // namespace pq
