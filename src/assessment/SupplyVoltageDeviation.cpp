#include "assessment/SupplyVoltageDeviation.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "assessment/AssessmentMessages.h"
#include "records/RecordHead.h"

namespace pq {

namespace {

constexpr int kPhaseCells[3] = {cells::uaRms, cells::ubRms, cells::ucRms};
constexpr double kLowVoltageLevel = 20;   // kV, and below
constexpr double kHighVoltageLevel = 35;  // kV, and above
constexpr double kLargestHighVoltageSplit = 10;

bool bandIsValid(const DeviationBandLimits& band, const SupplyVoltage& supply) {
  if (!(band.upper >= 0) || !(band.lower <= 0) || !std::isfinite(band.upper) || !std::isfinite(band.lower))
    return false;
  return supply.singlePhase || supply.nominalKilovolts < kHighVoltageLevel ||
         band.upper - band.lower <= kLargestHighVoltageSplit;
}

std::string methodText(const SupplyVoltage& supply, const DeviationBandLimits& band, int flaggedMinutes,
                       int outageMinutes) {
  char text[1024];
  std::snprintf(
      text, sizeof text,
      "电压偏差（GB/T 12325）：各%s的1分钟方均根值对其标称值%.4g%s的偏差，限值%+.4g%%/%+.4g%%；"
      "电压合格率=(1-(越上限分钟数+越下限分钟数)/监测分钟数)×100%%。含60 s以内的电压暂降、暂升或短时中断"
      "（GB/T 30137）的%d个1分钟值不计，长时中断（停电）的%d个1分钟值不计；超过60 s的持续低电压和"
      "持续过电压不是暂降、暂升，其分钟计入。",
      supply.lineVoltages ? "线电压" : "相电压", supply.declared, supply.unit, band.upper, band.lower,
      flaggedMinutes, outageMinutes);
  return text;
}

}  // namespace

std::optional<DeviationBandLimits> deviationBandOf(const SupplyVoltage& supply,
                                                   const AssessmentLimits& limits) {
  if (supply.singlePhase) return limits.singlePhaseBand;
  if (supply.nominalKilovolts > 0 && supply.nominalKilovolts <= kLowVoltageLevel)
    return limits.lowVoltageBand;
  if (supply.nominalKilovolts >= kHighVoltageLevel) return limits.highVoltageBand;
  return std::nullopt;
}

SupplyVoltage supplyVoltageOf(const RecordHead& head, int wiringMode) {
  // A head keeps 0 as the nominal voltage of the 0.38 kV level, the report's way of naming it.
  constexpr int kLowestLevelCode = 1;
  constexpr double kLowestLevel = 0.38;  // kV
  double nominal = head.nominalVoltage;
  if (nominal == 0 && head.voltageLevelCode == kLowestLevelCode)
    nominal = head.kiloUnits() ? kLowestLevel : kLowestLevel * 1000;
  const bool fourWire = wiringMode == 1;
  return {fourWire ? nominal / std::sqrt(3.0) : nominal, head.kiloUnits() ? nominal : nominal / 1000,
          !fourWire, false, head.voltageUnit()};
}

std::array<VoltageDeviationAssessment, 3> assessVoltageDeviation(const AggregatedSeries& minutes,
                                                                 const SupplyVoltage& supply,
                                                                 const AssessmentLimits& limits) {
  const auto band = deviationBandOf(supply, limits);
  const char* refusal = nullptr;
  if (!(supply.declared > 0) || !std::isfinite(supply.declared)) {
    refusal = messages::kNoNominalVoltage;
  } else if (!band) {
    refusal = messages::kNoDeviationBand;
  } else if (!bandIsValid(*band, supply)) {
    refusal = messages::kInvalidDeviationBand;
  }
  const DeviationBandLimits shown =
      band.value_or(DeviationBandLimits{IndexAssessment::kNone, IndexAssessment::kNone});

  std::array<VoltageDeviationAssessment, 3> phases;
  for (int phase = 0; phase < 3; ++phase) {
    VoltageDeviationAssessment& result = phases[phase];
    auto minuteValues = minutes.unflaggedValues(cellQuantity(kPhaseCells[phase]));
    result.flaggedMinutes = minuteValues.flagged;
    result.outageMinutes = minuteValues.outage;
    result.minutesWithoutValue = minuteValues.withoutValue;
    const bool kept = minuteValues.kept;
    std::vector<double>& deviations = minuteValues.values;
    if (refusal) deviations.clear();
    for (double& u : deviations) u = (u - supply.declared) / supply.declared * 100;
    IndexAssessment& index = result.index;
    index.method = methodText(supply, shown, result.flaggedMinutes, result.outageMinutes);
    if (refusal || !kept) {
      index.reason = refusal ? refusal : messages::kNotAggregated;
      continue;
    }
    index.upperLimit = band->upper;
    index.lowerLimit = band->lower;
    if (!summarise(deviations, true, index)) {
      index.reason = messages::kNoMonitoredMinutes;
      continue;
    }
    result.monitoredMinutes = static_cast<int>(deviations.size());
    for (const double d : deviations) {
      if (d > band->upper) ++result.minutesOver;
      if (d < band->lower) ++result.minutesUnder;
    }
    const double rate =
        (1 - static_cast<double>(result.minutesOver + result.minutesUnder) / result.monitoredMinutes) * 100;
    index.passRate = std::round(rate * 100) / 100;
    index.verdict = index.passRate >= limits.requiredQualificationRate ? Verdict::Pass : Verdict::Fail;
  }
  return phases;
}

}  // namespace pq
