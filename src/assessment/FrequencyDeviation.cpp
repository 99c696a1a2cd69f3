#include "assessment/FrequencyDeviation.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "assessment/AssessmentLimits.h"
#include "assessment/AssessmentMessages.h"
#include "records/MeasurementRecord.h"

namespace pq {

FrequencyDeviationAssessment assessFrequencyDeviation(const AggregatedSeries& tenSeconds, double limit,
                                                      int invalidRecords) {
  FrequencyDeviationAssessment result;
  auto frequencies = tenSeconds.unflaggedValues(cellQuantity(cells::frequency));
  result.flaggedIntervals = frequencies.flagged;
  result.outageIntervals = frequencies.outage;
  result.invalidRecords = invalidRecords;
  std::vector<double>& deviations = frequencies.values;
  for (double& f : deviations) f -= kNominalFrequency;
  const bool aggregated = frequencies.kept;

  IndexAssessment& index = result.index;
  char method[1024];
  std::snprintf(method, sizeof method,
                "频率偏差（GB/T 15945）：10秒平均频率与50Hz之差，限值±%.4gHz，全部10秒值在限值内为合格；"
                "含电压暂降、暂升或短时中断的%d个10秒值、长时中断的%d个10秒值不计；频率为0 Hz或无效的%d条记录"
                "不参与统计。",
                limit, result.flaggedIntervals, result.outageIntervals, result.invalidRecords);
  index.method = method;
  if (!aggregated) {
    index.reason = messages::kNotAggregated;
  } else if (!(limit > 0) || !std::isfinite(limit)) {
    index.reason = messages::kInvalidLimits;
  } else if (!summarise(deviations, true, index)) {
    index.reason = messages::kNoTenSecondValues;
  } else {
    index.upperLimit = limit;
    index.lowerLimit = -limit;
    int within = 0;
    for (const double d : deviations) within += std::fabs(d) <= limit ? 1 : 0;
    index.passRate = 100.0 * within / static_cast<double>(deviations.size());
    index.verdict = within == static_cast<int>(deviations.size()) ? Verdict::Pass : Verdict::Fail;
  }
  return result;
}

}  // namespace pq
