// The history window on a full day of records (86 400): a trend query with its replot, showing one
// record in the browser, and opening the window. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>

#include "GeneratedStore.h"
#include "history/TrendIntervals.h"
#include "history/TrendQueries.h"
#include "history/ui/HistoryWindow.h"
#include "history/ui/RecordBrowserPage.h"
#include "history/ui/TrendChart.h"
#include "history/ui/TrendPage.h"
#include "records/RecordStore.h"
#include "timerange/Clock.h"
#include "ui/QtPrompter.h"

namespace {

constexpr int kRecords = 86400;

pq::RecordStore& fullDay() { return pq::bench::generatedStore(kRecords); }

// The power page's chart, shown at its size in the window.
class PowerChart : public pq::history::TrendChart {
 public:
  explicit PowerChart(const pq::RecordStore& store)
      : TrendChart(store, "功率趋势曲线",
                   {{"A相", Qt::yellow}, {"B相", Qt::green}, {"C相", Qt::red}, {"三相", Qt::blue}}, true) {
    resize(760, 470);
    show();
  }
};

// The power page's query with all four curves and the chart drawn anew.
void BM_PowerTrendQueryAndReplot(benchmark::State& state) {
  pq::RecordStore& store = fullDay();
  PowerChart chart(store);
  const bool threeD = state.range(0) != 0;
  chart.setThreeD(threeD);
  for (auto _ : state) {
    chart.showResult(
        pq::queryPowerTrend(store, pq::IndexRange{0, kRecords}, pq::PowerQuantity::Active, {true, true, true, true}));
  }
}
BENCHMARK(BM_PowerTrendQueryAndReplot)->Arg(0)->Arg(1)->ArgName("threeD")->Unit(benchmark::kMillisecond);

// The power page at 1-minute values: the day aggregated once (Arg 1: as when the page is entered or its
// range changes), or kept from before (Arg 0: as when a curve or quantity is switched).
void BM_PowerTrendOneMinute(benchmark::State& state) {
  pq::RecordStore& store = fullDay();
  PowerChart chart(store);
  pq::TrendIntervals intervals;
  const bool aggregate = state.range(0) != 0;
  for (auto _ : state) {
    if (aggregate) intervals.clear();
    const pq::TrendSource source =
        intervals.source(store, {0, kRecords}, pq::TrendResolution::OneMinute);
    chart.showResult(pq::queryPowerTrend(store, source, pq::PowerQuantity::Active, {true, true, true, true}));
  }
}
BENCHMARK(BM_PowerTrendOneMinute)->Arg(0)->Arg(1)->ArgName("aggregate")->Unit(benchmark::kMillisecond);

// The query alone, the part that walks the store.
void BM_HarmonicTrendQuery(benchmark::State& state) {
  pq::RecordStore& store = fullDay();
  for (auto _ : state) benchmark::DoNotOptimize(pq::queryHarmonicTrend(store, pq::IndexRange{0, kRecords}, pq::Ua, 0));
}
BENCHMARK(BM_HarmonicTrendQuery)->Unit(benchmark::kMillisecond);

// Moving to another record: grid, spectrum, phasors and date, repainted.
void BM_ShowRecord(benchmark::State& state) {
  pq::RecordStore& store = fullDay();
  pq::ui::QtPrompter prompter;
  pq::SystemClock clock;
  pq::TForm4 window(store, prompter, clock, pq::TForm4::Browser);
  window.show();
  QApplication::processEvents();  // the first activation enters the page
  auto* trackBar = window.findChild<QSlider*>();
  int index = 0;
  for (auto _ : state) {
    index = (index + 7919) % kRecords;
    trackBar->setValue(index);      // as the operator moves it
    QApplication::processEvents();  // and the repaint
  }
  if (window.browser().currentIndex() != index) state.SkipWithError("record not shown");
}
BENCHMARK(BM_ShowRecord)->Unit(benchmark::kMillisecond);

// Creating the window and entering its page, as a history command does before the window waits for
// the operator.
void BM_OpenWindow(benchmark::State& state) {
  pq::RecordStore& store = fullDay();
  pq::ui::QtPrompter prompter;
  pq::SystemClock clock;
  const int page = static_cast<int>(state.range(0));
  for (auto _ : state) {
    pq::TForm4 window(store, prompter, clock, page);
    window.show();
    if (page == pq::TForm4::Browser) {
      window.browser().enterBrowserPage();
    } else {
      window.trendPage(page).enter();
    }
    QApplication::processEvents();
  }
}
BENCHMARK(BM_OpenWindow)->DenseRange(0, 4)->ArgName("page")->Unit(benchmark::kMillisecond);

}  // namespace
