#include "assessment/AssessmentRun.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <optional>
#include <vector>

#include "aggregation/RecordGaps.h"
#include "aggregation/RecordTimeGate.h"
#include "assessment/AssessmentMessages.h"
#include "base/ConversionError.h"
#include "base/FieldText.h"
#include "records/RecordStore.h"
#include "statistics/HarmonicLimitTables.h"

namespace pq {

namespace {

ReportLimits harmonicLimitsOf(const RecordStore& store, const SuperpositionExponents& exponents) {
  ReportLimits limits;
  const int code = store.voltageLevelCode;
  if (code < 1 || code > kVoltageLevelCount) return limits;
  const std::string_view level = kVoltageLevelTexts[code - 1];
  limits.setVoltageLimits(level);
  try {
    limits.computeCurrentLimits(level, generalNumberText(store.minShortCircuitCapacity),
                                generalNumberText(store.supplyEquipmentCapacity),
                                generalNumberText(store.agreedCapacity), exponents);
  } catch (const ConversionError&) {
    // A supply capacity of 0: the currents keep limits of 0 and get no verdict.
  }
  return limits;
}

// Between the records the time gate lets through, so that a record out of order adds no step.
int mostCommonStep(const RecordStore& store, IndexRange range) {
  std::vector<std::int64_t> times;
  times.reserve(static_cast<std::size_t>(std::max(0, range.end - range.start)));
  for (int i = range.start; i < range.end; ++i) {
    try {
      const std::int64_t seconds = epochSeconds(CalendarDateTime::ofRecord(store, i));
      if (times.empty() || seconds > times.back()) times.push_back(seconds);
    } catch (const ConversionError&) {
      // An undatable stamp has no step; the time gate leaves its record out.
    }
  }
  return std::clamp(recordingInterval(times).value_or(1), 1, 86400);
}

// No more than the records, nor than the 3-second intervals from the first record the time gate lets
// through to the latest; the seconds from the first record to the last would be too few when the
// last is out of order, and the 95 % values then unknown.
std::int64_t mostThreeSecondIntervals(const RecordStore& store, IndexRange range) {
  std::optional<std::int64_t> first;
  std::int64_t latest = 0;
  for (int i = range.start; i < range.end; ++i) {
    try {
      const std::int64_t seconds = epochSeconds(CalendarDateTime::ofRecord(store, i));
      if (!first) first = seconds;
      latest = std::max(latest, seconds);
    } catch (const ConversionError&) {
      continue;  // the time gate leaves it out as well
    }
  }
  if (!first) return 0;
  return std::min<std::int64_t>(range.end - range.start, (latest - *first) / kResolutionSeconds[0] + 2);
}

std::string spanMethod(const AssessmentResult& result) {
  char text[512];
  std::snprintf(
      text, sizeof text,
      "记录：%d条参与评估，记录间隔%d s，%d处中断（间隔超过%d s）未计入；时间重复%d条、时间倒序%d条、"
      "时间无效%d条，未计入统计。",
      result.span.records, result.setup.recordSeconds, static_cast<int>(result.span.gaps.size()),
      result.setup.recordSeconds, result.duplicates, result.outOfOrder, result.undatable);
  return text;
}

std::string eventsMethod(const AssessmentSetup& setup) {
  char text[768];
  std::snprintf(
      text, sizeof text,
      "电压暂降、暂升和短时中断（GB/T 30137）：各记录三相%s的最小值低于标称值%.4g的90%%为暂降，"
      "回到92%%及以上为止；最大值高于110%%为暂升，回到108%%及以下为止；暂降中某一记录三相最小值均低于"
      "10%%为短时中断。持续时间按记录数计（±%d s）；SARFI-x为剩余电压低于x%%的暂降和短时中断次数。",
      setup.supply.lineVoltages ? "线电压" : "相电压", setup.supply.declared, setup.recordSeconds);
  return text;
}

std::string energyMethod(const AssessmentSetup& setup) {
  char text[512];
  std::snprintf(text, sizeof text,
                "电能：三相总有功、无功功率按记录时间积分，每条记录至多计%d s，中断不积分；功率因数=有功电能/"
                "√(有功电能²+无功电能²)；最大需量为整15分钟内有功功率平均值的最大值。",
                setup.recordSeconds);
  return text;
}

}  // namespace

AssessmentSetup assessmentSetupOf(const RecordStore& store, IndexRange range, const AssessmentLimits& limits,
                                  std::string limitSetName) {
  range = recordsInUse(store, range);
  AssessmentSetup setup;
  const int wiringMode = range.end > range.start ? store.record(range.start).integer(cells::wiringMode) : 1;
  setup.supply = supplyVoltageOf(store, wiringMode);
  setup.limits = limits;
  setup.limitSetName = std::move(limitSetName);
  setup.harmonicLimits = harmonicLimitsOf(store, limits.superpositionExponents);
  setup.recordSeconds = mostCommonStep(store, range);
  return setup;
}

AssessmentResult assessmentOf(const RecordingValues& values, const NinetyFivePercentSink& threeSeconds,
                              const AssessmentSetup& setup) {
  AssessmentResult result;
  result.setup = setup;
  result.span = values.span;
  result.duplicates = values.gate.duplicates();
  result.outOfOrder = values.gate.outOfOrder();
  result.undatable = values.gate.undatable();
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
                                              setup.limits.frequencyDeviation);
  result.harmonics = assessHarmonics(threeSeconds, setup.limits.superpositionExponents);
  result.events = values.events;
  result.sarfi = values.sarfi;
  result.eventsMethod = eventsMethod(setup);
  result.energy = values.energy;
  result.energyMethod = energyMethod(setup);
  return result;
}

AssessmentResult runAssessment(const RecordStore& store, IndexRange range, const AssessmentSetup& setup) {
  if (!(setup.supply.declared > 0) || !std::isfinite(setup.supply.declared)) {
    AssessmentResult refused;
    refused.setup = setup;
    refused.refusal = messages::kCannotAssessWithoutDeclaredVoltage;
    return refused;
  }
  range = recordsInUse(store, range);
  NinetyFivePercentSink threeSeconds(harmonicQuantities(setup.harmonicLimits),
                                     mostThreeSecondIntervals(store, range));
  const RecordingValues values =
      assessRecording(store, range, setup.supply.declared, &threeSeconds, setup.recordSeconds);
  return assessmentOf(values, threeSeconds, setup);
}

}  // namespace pq
