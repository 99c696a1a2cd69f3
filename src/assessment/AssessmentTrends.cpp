#include "assessment/AssessmentTrends.h"

#include <algorithm>
#include <functional>

#include "assessment/FrequencyDeviation.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

// The series's intervals with a line per cell, each value passed through `convert`; no lines when
// the series does not keep a cell.
TrendSeries trendOf(const AggregatedSeries& series, Resolution resolution, std::initializer_list<int> cellList,
                    const std::function<double(double)>& convert) {
  TrendSeries trend;
  trend.intervalSeconds = kResolutionSeconds[static_cast<int>(resolution)];
  const std::size_t n = series.intervals.size();
  trend.starts.reserve(n);
  trend.flagged.reserve(n);
  trend.outage.reserve(n);
  for (const AggregatedSeries::Interval& interval : series.intervals) {
    trend.starts.push_back(interval.start);
    trend.flagged.push_back(interval.flagged);
    trend.outage.push_back(interval.outage);
  }
  for (const int cell : cellList) {
    const auto kept = std::find(series.quantities.begin(), series.quantities.end(), cellQuantity(cell));
    if (kept == series.quantities.end()) return TrendSeries{trend.intervalSeconds, {}, {}, {}, {}};
    const auto column = static_cast<std::size_t>(kept - series.quantities.begin());
    std::vector<double> values(n);
    for (std::size_t i = 0; i < n; ++i) values[i] = convert(series.row(i)[column].value);
    trend.lines.push_back(std::move(values));
  }
  return trend;
}

}  // namespace

AssessmentTrends assessmentTrendsOf(const std::array<AggregatedSeries, kResolutionCount>& series,
                                    const SupplyVoltage& supply) {
  const auto at = [&](Resolution r) -> const AggregatedSeries& { return series[static_cast<int>(r)]; };
  const double declared = supply.declared;
  AssessmentTrends trends;
  trends.deviation = trendOf(at(Resolution::OneMinute), Resolution::OneMinute,
                             {cells::uaRms, cells::ubRms, cells::ucRms},
                             [declared](double u) { return (u - declared) / declared * 100; });
  trends.unbalance = trendOf(at(Resolution::TenMinutes), Resolution::TenMinutes, {cells::uUnbalance},
                             [](double v) { return v; });
  trends.frequency = trendOf(at(Resolution::TenSeconds), Resolution::TenSeconds, {cells::frequency},
                             [](double f) { return f - kNominalFrequency; });
  return trends;
}

}  // namespace pq
