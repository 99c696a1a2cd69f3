#include "assessment/UnbalanceAssessment.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assessment/AssessmentMessages.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

bool limitsAreValid(const UnbalanceLimits& limits) {
  return std::isfinite(limits.at95) && std::isfinite(limits.largest) && limits.at95 > 0 &&
         limits.largest >= limits.at95;
}

}  // namespace

UnbalanceAssessment assessUnbalance(const AggregatedSeries& tenMinutes, const UnbalanceLimits& limits) {
  UnbalanceAssessment result;
  for (const auto& interval : tenMinutes.intervals) {
    result.outageIntervals += interval.outage ? 1 : 0;
    result.flaggedIntervals += interval.flagged && !interval.outage ? 1 : 0;
  }

  char method[1024];
  std::snprintf(method, sizeof method,
                "三相电压不平衡度（GB/T 15543）：各记录负序与正序电压分量之比U2/U1的10分钟方均根值，95%%概率值"
                "不大于%.4g%%且最大值不大于%.4g%%为合格；含电压暂降、暂升或短时中断的%d个10分钟值、长时中断的"
                "%d个10分钟值不计。",
                limits.at95, limits.largest, result.flaggedIntervals, result.outageIntervals);
  IndexAssessment& voltage = result.voltage;
  voltage.method = method;
  const auto voltages = tenMinutes.unflaggedValues(cellQuantity(cells::uUnbalance));
  if (!voltages.kept) {
    voltage.reason = messages::kNotAggregated;
  } else if (!limitsAreValid(limits)) {
    voltage.reason = messages::kInvalidLimits;
  } else if (!summarise(voltages.values, false, voltage)) {
    voltage.reason = messages::kNoTenMinuteValues;
  } else {
    voltage.upperLimit = limits.at95;
    voltage.largestLimit = limits.largest;
    int within = 0;
    for (const double v : voltages.values) within += v <= limits.at95 ? 1 : 0;
    voltage.passRate = 100.0 * within / static_cast<double>(voltages.values.size());
    if (std::isnan(voltage.p95)) {
      voltage.reason = messages::kTooFewFor95Percent;
    } else {
      voltage.verdict =
          voltage.p95 <= limits.at95 && voltage.max <= limits.largest ? Verdict::Pass : Verdict::Fail;
    }
  }

  IndexAssessment& current = result.current;
  current.method = "电流不平衡度：各记录负序与正序电流分量之比I2/I1的10分钟方均根值，仅列出，不作判断。";
  const auto currents = tenMinutes.unflaggedValues(cellQuantity(cells::iUnbalance));
  current.reason = messages::kShownWithoutVerdict;
  if (!currents.kept) {
    current.reason = messages::kNotAggregated;
  } else if (!summarise(currents.values, false, current)) {
    current.reason = messages::kNoTenMinuteValues;
  }
  return result;
}

}  // namespace pq
