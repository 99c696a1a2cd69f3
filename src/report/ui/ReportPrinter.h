#pragma once

#include <QPrinter>
#include <functional>
#include <vector>

#include "report/ReportPage.h"
#include "statistics/ReportKind.h"

class QWidget;

namespace pq {

// Paints report pages on a printer, one page per sheet, the printer's page range applied. The
// printer must print the full page (design positions are measured from the paper's corner).
// `pageStarted` gets the 0-based number of every page before it is painted and may cancel.
void paintReportPages(QPrinter& printer, const std::vector<ReportPage>& pages,
                      const std::function<bool(int)>& pageStarted = {});

// The report's printer choice and print settings, kept by the report window and the viewer for as
// long as they live. The choice starts as the system's default printer.
class ReportPrinter {
 public:
  static constexpr char kPdfPrinterName[] = "Smart Print";

  ReportPrinter();

  QPrinter& printer() { return printer_; }

  // The print settings of the page template: one copy; the voltage page prints all pages without
  // duplex, the current page asks for duplex printing of page 1 to page 1.
  void useTemplateOf(ReportQuantity quantity);
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
