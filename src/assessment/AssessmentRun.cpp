#include "assessment/AssessmentRun.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <optional>
#include <vector>

#include "aggregation/RecordGaps.h"
#include "aggregation/RecordTimeGate.h"
#include "assessment/AssessmentMessages.h"
#include "assessment/AssessmentTexts.h"
#include "records/RecordHead.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

// No more than the records, nor than the 3-second intervals from the earliest record time to the
// latest: whatever the gate lets through lies between them, in whatever order they are stored.
std::int64_t mostThreeSecondIntervals(std::span<const MeasurementRecord> records) {
  std::optional<std::int64_t> earliest;
  std::int64_t latest = 0;
  for (const MeasurementRecord& record : records) {
    const auto seconds = recordSeconds(record);
    if (!seconds) continue;  // the time gate leaves it out as well
    earliest = std::min(earliest.value_or(*seconds), *seconds);
    latest = std::max(latest, *seconds);
  }
  if (!earliest) return 0;
  return std::min<std::int64_t>(static_cast<std::int64_t>(records.size()),
                                (latest - *earliest) / kResolutionSeconds[0] + 2);
}

std::string spanMethod(const AssessmentResult& result) {
  char text[768];
  std::snprintf(
      text, sizeof text,
      "记录：%d条参与评估，记录间隔%s（各文件按其自身间隔计），%d处中断（间隔超过记录间隔）未计入；时间重复%d条、"
      "时间倒序或孤立跳变%d条、时间无效%d条，未计入统计。",
      result.span.records, recordIntervalsText(result.recordIntervals).c_str(), static_cast<int>(result.span.gaps.size()),
      result.duplicates, result.outOfOrder, result.undatable);
  return text;
}

std::string eventsMethod(const AssessmentResult& result) {
  char text[1536];
  std::snprintf(
      text, sizeof text,
      "电压暂降、暂升和短时中断（GB/T 30137）：各记录三相%s的最小值低于标称值%.4g%s的90%%为暂降，"
      "回到92%%及以上为止；最大值高于110%%为暂升，回到108%%及以下为止；暂降中某一记录三相最小值均低于"
      "10%%为短时中断。持续时间为其记录数乘记录间隔（±1个记录间隔）；持续时间不超过60 s的才是暂降、暂升或短时"
      "中断，超过60 s的为持续低电压、持续过电压或长时中断，另行列出，不计入SARFI。SARFI-x为剩余电压低于x%%的"
      "暂降和短时中断次数。长时中断共%d s，其间的统计值不计入各项指标。",
      result.setup.supply.lineVoltages ? "线电压" : "相电压", result.setup.supply.declared,
      result.setup.supply.unit, result.outageSeconds);
  return text;
}

std::string energyMethod() {
  return "电能：三相总有功、无功功率按记录时间积分，每条记录至多计其记录间隔，中断不积分；无功电能按各记录三相总无功"
         "功率的正负分为滞后（感性）和超前（容性）分别累计，无功电能=滞后+|超前|（计费表计的读法，不相互抵消）；"
         "功率因数=有功电能/√(有功电能²+无功电能²)；最大需量为整15分钟时段内有功电能除以0.25 h的最大值，"
         "记录不全的时段按其实有电能计。";
}

}  // namespace

AssessmentSetup assessmentSetupOf(const RecordHead& head, int wiringMode, const AssessmentLimits& limits,
                                  std::string limitSetName) {
  AssessmentSetup setup;
  setup.supply = supplyVoltageOf(head, wiringMode);
  setup.limits = limits;
  setup.limitSetName = std::move(limitSetName);
  setup.harmonicLimits = harmonicLimitsOf(limits, head);
  return setup;
}

AssessmentSetup assessmentSetupOf(const RecordHead& head, std::span<const MeasurementRecord> fileRecords,
                                  std::span<const MeasurementRecord> assessed, const AssessmentLimits& limits,
                                  std::string limitSetName) {
  const int wiringMode = assessed.empty() ? 1 : assessed.front().integer(cells::wiringMode);
  AssessmentSetup setup = assessmentSetupOf(head, wiringMode, limits, std::move(limitSetName));
  setup.recordSeconds = recordingIntervalOfFile(fileRecords);
  return setup;
}

AssessmentResult assessmentOf(const RecordingValues& values, const NinetyFivePercentSink& threeSeconds,
                              const AssessmentSetup& setup) {
  AssessmentResult result;
  result.setup = setup;
  result.span = values.span;
  result.recordIntervals = values.recordIntervals;
  result.duplicates = values.gate.duplicates();
  result.outOfOrder = values.gate.outOfOrder();
  result.undatable = values.gate.undatable();
  if (result.recordIntervals.empty()) result.recordIntervals = {setup.recordSeconds};
  result.spanMethod = spanMethod(result);
  if (values.span.records == 0) {
    result.refusal = messages::kNothingToAssess;
    return result;
  }
  const auto& series = values.series;
  result.deviation =
      assessVoltageDeviation(series[static_cast<int>(Resolution::OneMinute)], setup.supply, setup.limits);
  result.unbalance =
      assessUnbalance(series[static_cast<int>(Resolution::TenMinutes)], setup.limits.unbalance);
  result.frequency = assessFrequencyDeviation(series[static_cast<int>(Resolution::TenSeconds)],
                                              setup.limits.frequencyDeviation, values.invalidFrequencies);
  result.harmonics = assessHarmonics(threeSeconds, setup.harmonicLimits);
  result.events = values.events;
  result.sustained = values.sustained;
  for (const VoltageEvent& e : result.sustained) {
    if (e.kind == VoltageEventKind::LongInterruption) result.outageSeconds += e.durationSeconds;
  }
  result.sarfi = values.sarfi;
  result.eventsMethod = eventsMethod(result);
  result.energy = values.energy;
  result.energyMethod = energyMethod();
  result.trends = assessmentTrendsOf(series, setup.supply);
  return result;
}

AssessmentResult runAssessment(const RecordHead& head, std::span<const MeasurementRecord> records,
                               const TimeWindow& window, const AssessmentSetup& setup) {
  if (!(setup.supply.declared > 0) || !std::isfinite(setup.supply.declared)) {
    AssessmentResult refused;
    refused.setup = setup;
    refused.refusal = messages::kCannotAssessWithoutDeclaredVoltage;
    return refused;
  }
  NinetyFivePercentSink threeSeconds(harmonicQuantities(setup.harmonicLimits), mostThreeSecondIntervals(records));
  const RecordingValues values =
      assessRecording(head, records, setup.supply.declared, &threeSeconds, setup.recordSeconds, window);
  return assessmentOf(values, threeSeconds, setup);
}

}  // namespace pq
