// Report runs over half a day and a full day of one-second records: one voltage report (31 passes),
// all six reports in a row, and for one index the selection of the 95 % value beside the top-K
// insertion buffer it replaces.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "GeneratedStore.h"
#include "records/RecordStore.h"
#include "statistics/InsertionBuffer.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"
#include "statistics/StatisticsEngine.h"

namespace {

class SilentRun : public pq::ReportRunListener {
 public:
  void showMessage(const char* text) override { throw std::runtime_error(text); }
  void busyStarted() override {}
  void busyFinished() override {}
};

struct Report {
  explicit Report(int records) : store(pq::bench::generatedStore(records)) {
    parameters.fillFromStore(store);
  }
  pq::RecordStore& store;
  pq::ReportParameters parameters;
  SilentRun listener;
  pq::ReportRun run{store, parameters, listener};
};

void BM_VoltageReport(benchmark::State& state) {
  Report report(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!report.run.requestReport({pq::Phase::A, pq::ReportQuantity::Voltage}))
      state.SkipWithError("refused");
    benchmark::DoNotOptimize(report.parameters.data.deviation.p95);
  }
}
BENCHMARK(BM_VoltageReport)->Arg(43200)->Arg(86400)->Unit(benchmark::kMillisecond);

void BM_AllSixReports(benchmark::State& state) {
  Report report(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (const pq::ReportKind kind : pq::kReportKinds) {
      if (!report.run.requestReport(kind)) state.SkipWithError("refused");
    }
    benchmark::DoNotOptimize(report.parameters.data.thd.p95);
  }
}
BENCHMARK(BM_AllSixReports)->Arg(43200)->Arg(86400)->Unit(benchmark::kMillisecond);

// The third-harmonic content of phase A over the whole store, as its statistics pass sees it.
std::vector<float> thirdHarmonicContent(const pq::RecordStore& store) {
  std::vector<float> values;
  for (int i = 0; i < store.recordCount(); ++i) {
    values.push_back(static_cast<float>(store.harmonicPercent(i, pq::Ua, 3)));
  }
  return values;
}

void BM_OneIndexBySelection(benchmark::State& state) {
  Report report(static_cast<int>(state.range(0)));
  report.store.rangeStart = 0;
  report.store.rangeEnd = report.store.recordCount();
  pq::StatisticsEngine engine(report.store, report.parameters.data.limits);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        engine.computeStatistic(pq::StatisticIndex::Harmonic, {pq::Phase::A, pq::ReportQuantity::Voltage}, 3)
            .p95);
  }
}
BENCHMARK(BM_OneIndexBySelection)->Arg(43200)->Arg(86400)->Unit(benchmark::kMillisecond);

// The buffer alone, without reading the records, so the comparison flatters the reference.
void BM_OneIndexInsertionBuffer(benchmark::State& state) {
  const std::vector<float> values =
      thirdHarmonicContent(pq::bench::generatedStore(static_cast<int>(state.range(0))));
  const int rank = pq::rankOf95PercentValue(static_cast<int>(values.size()));
  for (auto _ : state) benchmark::DoNotOptimize(pq::test::insertionBufferValue(values, rank));
}
BENCHMARK(BM_OneIndexInsertionBuffer)->Arg(43200)->Arg(86400)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
