#pragma once

#include <QPrinter>
#include <functional>
#include <vector>

#include "pages/ReportPage.h"

class QWidget;

namespace pq {

// Paints report pages on a printer, one page per sheet, the printer's page range applied. The
// printer must print the full page (design positions are measured from the paper's corner).
// `pageStarted` gets the 0-based number of every page before it is painted and may cancel.
void paintReportPages(QPrinter& printer, const std::vector<ReportPage>& pages,
                      const std::function<bool(int)>& pageStarted = {});

// The printer choice and print settings of a window that prints pages (the report window, the viewer,
// the assessment window), kept for as long as it lives. The choice starts as the system's default
// printer.
class ReportPrinter {
 public:
  ReportPrinter();

  QPrinter& printer() { return printer_; }

  // Prints the pages with a progress window over `parent`.
  void print(const std::vector<ReportPage>& pages, QWidget* parent);
  // Chooses the printer of that name or description; false, and the choice unchanged, when the
  // system has none.
  bool selectPrinter(const QString& name);
  // Chooses the printer the printing system reports as current.
  void selectSystemPrinter();

 private:
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace pq
