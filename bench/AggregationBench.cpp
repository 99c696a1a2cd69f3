// The aggregation of a full day of one-second records into 3-second, 1-minute and 10-minute values,
// keeping the 1-minute and 10-minute values of every quantity, alone and in the assessment's pass with
// the voltage events and the energy, and the whole assessment.
#include <benchmark/benchmark.h>

#include "GeneratedStore.h"
#include "aggregation/AggregatedSeries.h"
#include "assessment/AssessmentPass.h"
#include "assessment/AssessmentRun.h"
#include "records/RecordStore.h"

namespace {

void BM_AggregateDay(benchmark::State& state) {
  const pq::RecordStore& store = pq::bench::generatedStore(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const auto result = pq::aggregateRecords(store.records());
    benchmark::DoNotOptimize(result.series[0].values.data());
  }
}
BENCHMARK(BM_AggregateDay)->Arg(86400)->Unit(benchmark::kMillisecond);

void BM_AssessmentPassDay(benchmark::State& state) {
  const pq::RecordStore& store = pq::bench::generatedStore(static_cast<int>(state.range(0)));
  // The generated phase voltage, so that events are as rare as in a sound recording.
  const double declared = store.value(0, pq::cells::uaRms);
  for (auto _ : state) {
    const auto values = pq::assessRecording(store, store.records(), declared);
    benchmark::DoNotOptimize(values.energy.activeKwh);
  }
}
BENCHMARK(BM_AssessmentPassDay)->Arg(86400)->Unit(benchmark::kMillisecond);

// The whole assessment: its setup (the recording interval's scan), the pass with the 95 % values of
// the harmonics' 3-second values, and every index.
void BM_AssessmentDay(benchmark::State& state) {
  const pq::RecordStore& store = pq::bench::generatedStore(static_cast<int>(state.range(0)));
  const std::span<const pq::MeasurementRecord> all = store.records();
  for (auto _ : state) {
    const pq::AssessmentSetup setup = pq::assessmentSetupOf(store, all, all, pq::AssessmentLimits{}, "");
    const auto result = pq::runAssessment(store, all, {}, setup);
    benchmark::DoNotOptimize(result.harmonics.data());
  }
}
BENCHMARK(BM_AssessmentDay)->Arg(86400)->Unit(benchmark::kMillisecond);

}  // namespace
