#pragma once

#include <cmath>

#include "statistics/ReportParameters.h"

namespace pq::test {

// Report parameters holding a data set filled by hand: every statistic of row r is r + 0.1234 for
// max, r + 0.0005 for min, -(r + 0.5) for avg, r + 0.25 for p95 and 100 - r for the pass rate, where
// r is 1 for the fundamental, the order for harmonics and 30.. for the rows below them.
inline ReportParameters handFilledReport(ReportKind kind, float sampleCount) {
  ReportParameters p;
  p.stationName = "城东变电站";
  p.pointName = "10kV出线";
  p.voltageLevelText = "10KV";
  p.minShortCircuitText = "182";
  p.supplyCapacityText = "120";
  p.agreedCapacityText = "150";
  p.testUnit = "电力局";
  p.tester = "张三";
  auto fill = [](StatisticRecord& s, float r) {
    s.max = r + 0.1234f;
    s.min = r + 0.0005f;
    s.avg = -(r + 0.5f);
    s.p95 = r + 0.25f;
    s.passRate = 100.0f - r;
  };
  PhaseReportDataSet& d = p.data;
  d.kind = kind;
  d.sampleCount = sampleCount;
  d.startTimeText = "2010-04-19 15:39";
  d.endTimeText = "2010-04-20 15:38";
  fill(d.fundamental, 1);
  fill(d.lineFundamental, 2);
  for (int n = 2; n <= 25; ++n) fill(d.harmonic[n], static_cast<float>(n));
  fill(d.thd, 30);
  fill(d.deviation, 31);
  fill(d.fluctuation, 32);
  fill(d.frequencyDeviation, 33);
  fill(d.unbalance, 34);
  d.limits.oddHarmonicLimit = 3.2f;
  d.limits.evenHarmonicLimit = 1.6f;
  d.limits.thdLimit = 4.0f;
  d.limits.deviationLimitText = "±7.00%";
  for (int n = 2; n <= 25; ++n) d.limits.harmonicCurrentLimit[n] = 30.0f - static_cast<float>(n);
  return p;
}

}  // namespace pq::test
