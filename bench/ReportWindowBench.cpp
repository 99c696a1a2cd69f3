// The report windows on a full day of one-second records, offscreen: from the report button to the
// report window showing its preview, a phase button re-running the report in the open window, the
// spreadsheet export of the page shown, and from the assessment command to the assessment window
// showing its first page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "GeneratedStore.h"
#include "assessment/ui/AssessmentWindow.h"
#include "pages/ui/ReportPreview.h"
#include "report/ReportPageBuilder.h"
#include "report/ui/ReportFileCommands.h"
#include "report/ui/ReportWindow.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"
#include "support/ui/ScriptedPrompter.h"
#include "timerange/Clock.h"

namespace {

constexpr int kFullDay = 86400;

class SilentRun : public pq::ReportRunListener {
 public:
  void showMessage(const char* text) override { throw std::runtime_error(text); }
  void busyStarted() override {}
  void busyFinished() override {}
};

std::string temporaryPath(const char* name) {
  const char* folder = std::getenv("TMPDIR");
  return std::string(folder != nullptr ? folder : "/tmp") + "/" + name;
}

constexpr pq::ReportKind kVoltageA{pq::Phase::A, pq::ReportQuantity::Voltage};
constexpr pq::ReportKind kCurrentB{pq::Phase::B, pq::ReportQuantity::Current};

struct Session {
  Session() : store(pq::bench::generatedStore(kFullDay)) { parameters.fillFromStore(store); }
  pq::RecordStore& store;
  pq::ReportParameters parameters;
  SilentRun listener;
  pq::ui::ScriptedPrompter prompter;

  pq::ReportPage report(pq::ReportKind kind) {
    pq::ReportRun run(store, parameters, listener);
    parameters.data.kind = kind;
    if (!run.runReport()) throw std::runtime_error("refused");
    return pq::buildReportPage(parameters, store.ptRatio, "2026-12-10 08:00:00");
  }
};

// The report button's way: checks, range, limits, statistics, page, a new window and its preview
// painted.
void BM_ReportButtonToPreview(benchmark::State& state) {
  Session session;
  for (auto _ : state) {
    pq::ReportRun run(session.store, session.parameters, session.listener);
    if (!run.requestReport(kVoltageA)) state.SkipWithError("refused");
    bool open = false;
    pq::TForm14 window(session.prompter, open, [](pq::ReportKind) {});
    window.showReport(pq::buildReportPage(session.parameters, session.store.ptRatio, "x"), kVoltageA);
    window.show();
    QApplication::processEvents();
    window.repaint();
  }
}
BENCHMARK(BM_ReportButtonToPreview)->Unit(benchmark::kMillisecond);

// A phase button in the open window: the current report of phase B, rebuilt and repainted.
void BM_PhaseSwitch(benchmark::State& state) {
  Session session;
  bool open = false;
  pq::TForm14 window(session.prompter, open, [](pq::ReportKind) {});
  window.showReport(session.report(kVoltageA), kVoltageA);
  window.show();
  QApplication::processEvents();
  pq::ReportKind kind = kVoltageA;
  for (auto _ : state) {
    kind = kind == kVoltageA ? kCurrentB : kVoltageA;
    window.showReport(session.report(kind), kind);
    QApplication::processEvents();
    window.repaint();
  }
}
BENCHMARK(BM_PhaseSwitch)->Unit(benchmark::kMillisecond);

void BM_SpreadsheetExport(benchmark::State& state) {
  Session session;
  const pq::ReportPage page = session.report(kVoltageA);
  const QString path = QString::fromStdString(temporaryPath("pqdesk-bench.xls"));
  for (auto _ : state) {
    std::remove(path.toStdString().c_str());
    if (!pq::writeReportSpreadsheet(path, page, pq::ReportQuantity::Voltage))
      state.SkipWithError("not written");
  }
  std::remove(path.toStdString().c_str());
}
BENCHMARK(BM_SpreadsheetExport)->Unit(benchmark::kMillisecond);

// The main window's assessment command: the window, which assesses the whole day as it is shown
// (the range's scan, the pass over the records, every index, the pages and the event list), with
// its first page painted.
void BM_AssessmentCommandToPage(benchmark::State& state) {
  Session session;
  pq::SystemClock clock;
  for (auto _ : state) {
    pq::AssessmentWindow window(session.store, session.prompter, clock, pq::AssessmentWindow::AssessmentTab);
    window.show();
    QApplication::processEvents();
    window.preview().repaint();
    if (!window.result().refusal.empty()) state.SkipWithError(window.result().refusal.c_str());
  }
}
BENCHMARK(BM_AssessmentCommandToPage)->Unit(benchmark::kMillisecond);

}  // namespace
