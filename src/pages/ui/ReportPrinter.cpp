#include "pages/ui/ReportPrinter.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <algorithm>

#include "pages/ui/ReportPagePainter.h"
#include "ui/PrintJob.h"

namespace pq {

void paintReportPages(QPrinter& printer, const std::vector<ReportPage>& pages,
                      const std::function<bool(int)>& pageStarted) {
  const int count = static_cast<int>(pages.size());
  int first = 0;
  int last = count - 1;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage() - 1;
    last = std::min(last, printer.toPage() - 1);
  }
  if (first > last) return;
  QPainter painter;
  ui::beginPrinting(painter, printer);
  const double scale = printer.resolution() / 96.0;
  for (int i = first; i <= last; ++i) {
    if (pageStarted && !pageStarted(i)) break;
    if (i > first) printer.newPage();
    ReportPagePainter::paintPage(painter, pages[static_cast<std::size_t>(i)], scale);
  }
  ui::endPrinting(painter);
}

namespace {

// A printer chosen later brings its own default paper; reports are A4 from the paper's corner.
void useReportPaper(QPrinter& printer) {
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

}  // namespace

ReportPrinter::ReportPrinter() {
  useReportPaper(printer_);
  printer_.setDocName(QStringLiteral("PQ Desk report"));
}

void ReportPrinter::print(const std::vector<ReportPage>& pages, QWidget* parent) {
  QProgressDialog progress(QStringLiteral("正在打印..."), QStringLiteral("取消"), 0,
                           static_cast<int>(pages.size()), parent);
  progress.setWindowTitle(QStringLiteral("Print"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  paintReportPages(printer_, pages, [&progress](int page) {
    progress.setValue(page);
    progress.setLabelText(QStringLiteral("正在打印第 %1 页...").arg(page + 1));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !progress.wasCanceled();
  });
  progress.setValue(progress.maximum());
}

bool ReportPrinter::selectPrinter(const QString& name) {
  // CUPS queue names cannot hold blanks, so a printer such as "Smart Print" is known by the name
  // its queue shows to people (its description) as well.
  for (const QPrinterInfo& printer : QPrinterInfo::availablePrinters()) {
    if (printer.printerName() != name && printer.description() != name) continue;
    printer_.setPrinterName(printer.printerName());
    useReportPaper(printer_);
    return true;
  }
  return false;
}

void ReportPrinter::selectSystemPrinter() {
  printer_.setPrinterName(QPrinterInfo::defaultPrinterName());
  useReportPaper(printer_);
}

}  // namespace pq
