// The record import window on a full-day file, next to the import alone in the same process, so
// that their difference is what the window adds: progress display, repaints and messages.
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "SilentImportListener.h"
#include "records/RecordFileGenerator.h"
#include "records/ui/RecordImportWindow.h"
#include "support/ui/ScriptedPrompter.h"

namespace {

constexpr int kRecords = 86400;

// A full-day file, written on first use and removed when the program ends.
class DayFile {
 public:
  DayFile() : path_((std::filesystem::temp_directory_path() / "pq_ui_bench_day.bin").string()) {
    pq::GeneratorOptions options;
    options.records = kRecords;
    std::string error;
    if (!pq::generateRecordFile(path_, options, error)) throw std::runtime_error(error);
  }
  ~DayFile() { std::filesystem::remove(path_); }
  DayFile(const DayFile&) = delete;
  DayFile& operator=(const DayFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& fullFile() {
  static const DayFile file;
  return file.path();
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
