// One timer tick of the live window: the package taken from the link, checked, decoded, the value
// table written and the pictures fed, as the window does it. The screen repaints afterwards, in the
// event loop; argument 1 includes that repaint (Qt's offscreen platform paints into memory).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <deque>

#include "InstrumentAnswers.h"
#include "live/LivePolling.h"
#include "live/LiveTable.h"
#include "live/ui/LiveSpectrumPage.h"
#include "live/ui/LiveTableModel.h"
#include "live/ui/LiveWaveformPage.h"
#include "ui/ColumnFitting.h"

namespace {

using namespace pq::live;

// A link with one answer waiting at every tick.
class RepeatingLink : public LiveLink {
 public:
  explicit RepeatingLink(std::vector<std::uint8_t> answer) : answer_(std::move(answer)) {}
  void send(std::span<const std::uint8_t>) override {}
  std::size_t receive(std::span<std::uint8_t> buffer) override {
    std::copy(answer_.begin(), answer_.end(), buffer.begin());
    return answer_.size();
  }
  void reopen() override {}

 private:
  std::vector<std::uint8_t> answer_;
};

pq::sim::InstrumentModel model() {
  pq::sim::InstrumentModel m({1, 100.0f, 20.0f, 1});
  m.step();
  return m;
}

// The core path alone: package to values and table texts.
void BM_MeasurementTickCore(benchmark::State& state) {
  LivePolling polling;
  RepeatingLink link(pq::sim::measurementAnswer(model()));
  LiveTable table;
  for (auto _ : state) {
    if (polling.tick(LivePage::values, link).measurementAccepted) {
      table.fill(polling.measurement(), LiveDataMode::primary);
    }
    benchmark::DoNotOptimize(table.text(65, 8).data());
  }
}
BENCHMARK(BM_MeasurementTickCore)->Unit(benchmark::kMicrosecond);

// The window's work for a measurement answer on the spectrum page: table, model, column widths,
// distortion boxes and six spectra.
void BM_MeasurementTickWindow(benchmark::State& state) {
  LivePolling polling;
  RepeatingLink link(pq::sim::measurementAnswer(model()));
  LiveTable table;
  LiveTableModel tableModel(table, nullptr);
  QTableView view;
  view.setModel(&tableModel);
  view.resize(1100, 700);
  view.show();
  pq::ui::ColumnFitting fitting(view, 8);
  LiveWaveformPage waveformPage;
  LiveSpectrumPage spectrumPage;
  spectrumPage.resize(1100, 700);
  spectrumPage.show();
  for (auto _ : state) {
    if (polling.tick(LivePage::spectrum, link).measurementAccepted) {
      table.fill(polling.measurement(), LiveDataMode::secondary);
      tableModel.refresh();
      for (int column = 0; column < LiveTable::kColumns; ++column)
        for (int row = 0; row < LiveTable::kRows; ++row)
          fitting.fit(column, QString::fromStdString(table.text(row, column)));
      waveformPage.showDistortion(polling.measurement());
      spectrumPage.redraw(polling.measurement());
    }
    if (state.range(0) != 0) QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_MeasurementTickWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The window's work for a waveform answer: six series and the phasor diagram.
void BM_WaveformTickWindow(benchmark::State& state) {
  LivePolling polling;
  RepeatingLink link(pq::sim::waveformAnswer(model()));
  LiveWaveformPage page;
  page.resize(1100, 700);
  page.show();
  for (auto _ : state) {
    if (polling.tick(LivePage::waveform, link).waveformAccepted) {
      page.redraw(polling.samples(), polling.measurement());
    }
    if (state.range(0) != 0) QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_WaveformTickWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
