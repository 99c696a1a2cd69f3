#include "statistics/StatisticsEngine.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "base/ZeroedBlock.h"
#include "records/RecordStore.h"
#include "statistics/IndexSampler.h"
#include "statistics/LargestValue.h"
#include "statistics/ReportLimits.h"

namespace pq {

namespace {

// The statistics of one index from its values in record order; reorders `values`.
StatisticRecord summarise(std::span<float> values, float passes, const IndexSampler& sampler) {
  const int count = static_cast<int>(values.size());
  const bool isSigned = sampler.isSigned();
  StatisticRecord result;
  float sum = 0;
  float positiveExtreme = 0;
  float negativeExtreme = 0;
  for (int j = 0; j < count; ++j) {
    const float v = values[static_cast<std::size_t>(j)];
    if (isSigned) {
      if (j == 0) result.min = std::fabs(v);
      // A value forced to 0 by a threshold never moves an extreme, so the sign of a non-zero value
      // alone decides its side.
      if (v > positiveExtreme) positiveExtreme = v;
      if (v < negativeExtreme) negativeExtreme = v;
      if (std::fabs(v) < std::fabs(result.min)) result.min = v;
    } else {
      if (j == 0) result.max = result.min = v;
      if (!(result.max >= v)) result.max = v;
      if (result.min > v) result.min = v;
    }
    sum += v;
  }

  const double n = static_cast<float>(count);
  result.avg = static_cast<float>(sum / n);
  if (sampler.hasTest()) result.passRate = static_cast<float>(passes / n * 100);
  if (isSigned) result.max = std::fabs(negativeExtreme) > positiveExtreme ? negativeExtreme : positiveExtreme;
  const int rank = rankOf95PercentValue(count);
  if (rank >= 1) {
    // The rank-th largest value, duplicates counted, found in place now that the record order is no
    // longer needed. Not-a-number values rank below every number.
    if (sampler.ranksMagnitudes()) {
      for (float& v : values) v = std::fabs(v);
    }
    if (const auto value = rankthLargest(values, rank)) result.p95 = *value;
  }
  return result;
}

// Asks for the cache lines a report reads of a record some records ahead of the sweep: the record
// stride (1892 bytes) crosses a page every few records, where the processor's own prefetching stops.
void prefetchRecord(const MeasurementRecord& record, int channel) {
  const auto* bytes = reinterpret_cast<const char*>(record.cells.data());
  constexpr int kLine = 64;
  for (int offset = 4 * cells::uaRms; offset <= 4 * cells::pfTotal; offset += kLine) {
    __builtin_prefetch(bytes + offset);
  }
  const int harmonicsBegin = 4 * cells::harmonic(channel, 1);
  const int harmonicsEnd = 4 * cells::harmonic(channel, 64);
  for (int offset = harmonicsBegin; offset < harmonicsEnd; offset += kLine)
    __builtin_prefetch(bytes + offset);
  __builtin_prefetch(bytes + harmonicsEnd);
}

constexpr int kPrefetchDistance = 4;

}  // namespace

int rankOf95PercentValue(int sampleCount) {
  if (sampleCount < 20) return 0;
  // N x 5 x 0.01 rounded to a four-byte float and then up, which is ceil(N / 20) for every N a
  // store can hold.
  const float share = static_cast<float>(static_cast<double>(sampleCount) * 5 * 0.01);
  return static_cast<int>(std::ceil(share));
}

StatisticsEngine::StatisticsEngine(const RecordStore& store, ReportLimits& limits)
    : store_(store), limits_(limits) {}

StatisticsEngine::~StatisticsEngine() = default;

StatisticRecord StatisticsEngine::computeStatistic(StatisticIndex index, ReportKind kind, int order) {
  return computeStatistics({{index, order}}, kind).front();
}

std::vector<StatisticRecord> StatisticsEngine::computeStatistics(
    const std::vector<StatisticRequest>& requests, ReportKind kind) {
  std::vector<IndexSampler> samplers;
  for (const StatisticRequest& request : requests) {
    if (request.index == StatisticIndex::Deviation)
      limits_.chooseDeviationText(static_cast<float>(store_.nominalVoltage));
    samplers.emplace_back(store_, limits_, request, kind);
  }
  const int first = store_.rangeStart;
  const auto count = static_cast<std::size_t>(store_.rangeEnd - store_.rangeStart);
  const std::size_t bytes = samplers.size() * count * sizeof(float);
  if (!columns_ || columns_->size() < bytes) columns_ = std::make_unique<ZeroedBlock>(bytes);
  auto* const values = static_cast<float*>(columns_->data());
  const auto column = [values, count](std::size_t k) { return std::span<float>(values + k * count, count); };
  std::vector<float> passes(samplers.size(), 0.0f);
  // A single index reads too little of each record for the prefetching to pay.
  const bool prefetch = samplers.size() > 1;
  const int channel = kind.channel();
  for (std::size_t j = 0; j < count; ++j) {
    const int i = first + static_cast<int>(j);
    if (prefetch && j + kPrefetchDistance < count)
      prefetchRecord(store_.record(i + kPrefetchDistance), channel);
    for (std::size_t k = 0; k < samplers.size(); ++k) {
      const IndexSampler::Sample sample = samplers[k](i);
      values[k * count + j] = sample.value;
      if (sample.passes) passes[k] += 1;
    }
  }
  std::vector<StatisticRecord> results;
  for (std::size_t k = 0; k < samplers.size(); ++k)
    results.push_back(summarise(column(k), passes[k], samplers[k]));
  return results;
}

}  // namespace pq
