// The record import window on a full-day file, next to the import alone in the same process, so
// that their difference is what the window adds: progress display, repaints and messages.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "SilentImportListener.h"
#include "records/RecordFileGenerator.h"
#include "records/RecordImportWindow.h"
#include "ui/ScriptedPrompter.h"

namespace {

constexpr int kRecords = 86400;

const std::string& fullFile() {
  static const std::string path = [] {
    const std::string file = (std::filesystem::temp_directory_path() / "pq_ui_bench_day.bin").string();
    pq::GeneratorOptions options;
    options.records = kRecords;
    std::string error;
    if (!pq::generateRecordFile(file, options, error)) throw std::runtime_error(error);
    return file;
  }();
  return path;
}

void BM_ImportAlone(benchmark::State& state) {
  static pq::RecordStore store;
  pq::bench::SilentImportListener listener;
  for (auto _ : state) {
    pq::importRecordFile(store, fullFile(), listener);
    if (store.recordCount() != kRecords) state.SkipWithError("records lost");
  }
}
BENCHMARK(BM_ImportAlone)->Unit(benchmark::kMillisecond);

void BM_ImportWindow(benchmark::State& state) {
  static pq::RecordStore store;
  pq::ui::ScriptedPrompter prompter;
  pq::TForm3 window(store, prompter);
  window.show();
  auto* open = window.findChild<QPushButton*>("Btn_Open");
  for (auto _ : state) {
    prompter.answerFile(QString::fromStdString(fullFile()));
    QTest::mouseClick(open, Qt::LeftButton);
    if (store.recordCount() != kRecords) state.SkipWithError("records lost");
  }
}
BENCHMARK(BM_ImportWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(fullFile());
  return 0;
}
