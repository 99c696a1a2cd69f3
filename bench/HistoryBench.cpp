// The history window on a full day of records (86 400): a trend query with its replot, showing one
// record in the browser, and opening the window; and the trend query and replot of a 31-day survey's
// 1-minute values. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <cmath>

#include "GeneratedStore.h"
#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "history/TrendIntervals.h"
#include "history/TrendQueries.h"
#include "history/ui/HistoryWindow.h"
#include "history/ui/RecordBrowserPage.h"
#include "history/ui/TrendChart.h"
#include "history/ui/TrendPage.h"
#include "records/RecordStore.h"
#include "survey/Survey.h"
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

// The 1-minute values of a 31-day survey as it keeps them (surveyQuantities()), every value distinct
// and two hours without records between the 10th and 11th day, as between two files. Built directly:
// opening 31 files would take the benchmark minutes.
const pq::AggregatedSeries& surveyMinutes() {
  static const pq::AggregatedSeries series = [] {
    constexpr int kDays = 31;
    constexpr std::int64_t kStart = 1291161600;  // 2010-12-01 00:00:00
    pq::AggregatedSeries minutes;
    minutes.quantities = pq::surveyQuantities()[static_cast<std::size_t>(pq::Resolution::OneMinute)];
    const std::size_t columns = minutes.quantities.size();
    minutes.intervals.reserve(kDays * 1440);
    minutes.values.reserve(kDays * 1440 * columns);
    for (int minute = 0; minute < kDays * 1440; ++minute) {
      if (minute >= 10 * 1440 && minute < 10 * 1440 + 120) continue;
      minutes.intervals.push_back({kStart + minute * 60LL, 60, false, false});
      for (std::size_t c = 0; c < columns; ++c) {
        const double v = 100.0 + 40.0 * std::sin(minute * 0.0031 + static_cast<double>(c)) + minute * 1e-5;
        minutes.values.push_back({v, v - 1, v + 1});
      }
    }
    return minutes;
  }();
  return series;
}

// The survey page's power trend over the whole 31 days at 1 minute, four curves, and the chart drawn
// anew: what the page does when its range or resolution changes or a curve is ticked.
void BM_SurveyPowerTrendOneMinute(benchmark::State& state) {
  const pq::AggregatedSeries& minutes = surveyMinutes();
  pq::RecordStore head;
  PowerChart chart(head);
  const std::int64_t from = minutes.intervals.front().start;
  const std::int64_t to = minutes.intervals.back().start + 59;
  for (auto _ : state) {
    const pq::TrendSource source = pq::TrendSource::between(minutes, 1, 60, from, to);
    chart.showResult(pq::queryPowerTrend(head, source, pq::PowerQuantity::Active, {true, true, true, true}));
  }
  state.counters["points"] = static_cast<double>(chart.curve(0).data()->size());
}
BENCHMARK(BM_SurveyPowerTrendOneMinute)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

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
