#include "pages/ui/ReportPreview.h"

#include <cmath>

#include "pages/ui/ReportPrinter.h"

namespace pq {

double zoomedIn(double percent) { return percent < 200.0 ? percent + 5.0 : percent; }
double zoomedOut(double percent) { return percent > 5.0 ? percent - 5.0 : percent; }

ReportPreview::ReportPreview(QPrinter& printer, QWidget* parent) : QPrintPreviewWidget(&printer, parent) {
  connect(this, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
    // The preview shows every page, whatever range the printer holds for printing.
    const QPrinter::PrintRange range = target->printRange();
    target->setPrintRange(QPrinter::AllPages);
    paintReportPages(*target, pages_);
    target->setPrintRange(range);
  });
  setZoomPercent(100.0);
}

void ReportPreview::showPages(std::vector<ReportPage> pages) {
  pages_ = std::move(pages);
  updatePreview();
  setCurrentPage(1);
}

double ReportPreview::zoomPercent() const { return std::round(zoomFactor() * 1e8) / 1e6; }

void ReportPreview::setZoomPercent(double percent) {
  setZoomMode(CustomZoom);
  setZoomFactor(percent / 100.0);
}

}  // namespace pq
