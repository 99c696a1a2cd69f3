#include "report/ui/ReportFlow.h"

#include <ctime>

#include "records/RecordStore.h"
#include "report/PrintDate.h"
#include "report/ReportPageBuilder.h"
#include "report/ui/ReportWindow.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"

namespace pq {

TForm14* ReportFlow::reportWindow() const { return window_; }

void ReportFlow::requestReport(ReportKind kind) {
  ReportRun run(store_, parameters_, listener_);
  if (run.requestReport(kind)) showReport();
}

void ReportFlow::runPhase(ReportKind kind) {
  PhaseReportDataSet& data = parameters_.data;
  data.kind = kind;
  data.reportWindowOpen = true;
  ReportRun run(store_, parameters_, listener_);
  if (run.runReport()) showReport();
}

void ReportFlow::showReport() {
  PhaseReportDataSet& data = parameters_.data;
  ReportPage page = buildReportPage(parameters_, store_.ptRatio, printDateText(std::time(nullptr)));
  // The flag alone is not trusted: a window closed through its title bar leaves it set until the
  // parameters window is active again, and there is then no window to refresh.
  if (data.reportWindowOpen && window_) {
    window_->showReport(std::move(page), data.kind);
    return;
  }
  TForm14 window(
      prompter_, data.reportWindowOpen, [this](ReportKind kind) { runPhase(kind); }, owner_);
  window_ = &window;
  window.showReport(std::move(page), data.kind);
  window.exec();
}

}  // namespace pq
