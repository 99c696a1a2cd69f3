#include "assessment/HarmonicAssessment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "aggregation/AggregatedQuantities.h"
#include "assessment/AssessmentMessages.h"
#include "records/RecordHead.h"

namespace pq {

HarmonicLevelTables standardHarmonicLevels() {
  HarmonicLevelTables levels{};
  for (int level = 0; level < kVoltageLevelCount; ++level) {
    HarmonicLevelLimits& limits = levels[level];
    const HarmonicVoltageLimits voltage = harmonicVoltageLimitsOf(level);
    limits.thd = voltage.thd;
    limits.baseShortCircuitCapacity = baseShortCircuitCapacity(level);
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
      limits.voltage[order] = order % 2 == 0 ? voltage.even : voltage.odd;
      limits.current[order] = tabledHarmonicCurrent(level, order);
    }
  }
  return levels;
}

HarmonicLimits harmonicLimitsOf(const AssessmentLimits& limits, const RecordHead& head) {
  HarmonicLimits harmonic;
  harmonic.exponents = limits.superpositionExponents;
  harmonic.minShortCircuitCapacity = head.minShortCircuitCapacity;
  harmonic.supplyCapacity = head.supplyEquipmentCapacity;
  harmonic.agreedCapacity = head.agreedCapacity;
  const int code = head.voltageLevelCode;
  if (code < 1 || code > kVoltageLevelCount) return harmonic;
  const HarmonicLevelLimits& level = limits.harmonicLevels[code - 1];
  harmonic.level = kVoltageLevelTexts[code - 1];
  harmonic.voltage = level.voltage;
  harmonic.thd = level.thd;
  harmonic.baseShortCircuitCapacity = level.baseShortCircuitCapacity;
  // A supply capacity of 0, or capacities that are no numbers or overflow: no current is judged.
  if (harmonic.supplyCapacity == 0) return harmonic;
  std::array<float, kLastLimitedOrder + 1> current{};
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    current[order] = static_cast<float>(userHarmonicCurrent(level.current[order], level.baseShortCircuitCapacity,
                                                            harmonic.minShortCircuitCapacity, harmonic.agreedCapacity,
                                                            harmonic.supplyCapacity, harmonic.exponents[order]));
    if (!std::isfinite(current[order])) return harmonic;
  }
  harmonic.current = current;
  return harmonic;
}

std::vector<JudgedQuantity> harmonicQuantities(const HarmonicLimits& limits) {
  std::vector<JudgedQuantity> judged;
  for (int channel = Ua; channel <= Uc; ++channel) {
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      judged.push_back({harmonicContentQuantity(channel, order), limits.voltage[order]});
    judged.push_back({thdQuantity(channel), limits.thd});
  }
  for (int channel = Ia; channel <= Ic; ++channel) {
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      judged.push_back({harmonicCurrentQuantity(channel, order), limits.current[order]});
  }
  return judged;
}

namespace {

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// At least one decimal, so that 2 reads as the exponent 2.0 of the standard's table.
std::string exponentText(double value) {
  std::string shown = numberText(value);
  if (shown.find_first_of(".e") == std::string::npos) shown += ".0";
  return shown;
}

std::string percentText(double value) { return numberText(value) + "%"; }

// The value most of `values` share (the first of them on a tie), and "5次2.5%" for each order that
// differs from it; `values` by order.
struct CommonValue {
  double value = 0;
  std::string others;  // "、" between them
};
CommonValue commonValueOf(const std::vector<std::pair<int, double>>& values, std::string (*shown)(double)) {
  CommonValue common;
  long most = 0;
  for (const auto& candidate : values) {
    const long count =
        std::count_if(values.begin(), values.end(), [&](const auto& v) { return v.second == candidate.second; });
    if (count > most) {
      most = count;
      common.value = candidate.second;
    }
  }
  for (const auto& [order, value] : values) {
    if (value == common.value) continue;
    if (!common.others.empty()) common.others += "、";
    common.others += std::to_string(order) + "次" + shown(value);
  }
  return common;
}

// "奇次3.2%" or "奇次3.2%（5次2.5%、7次3%）"
std::string parityLimitsText(const HarmonicLimits& limits, int firstOrder, const char* name) {
  std::vector<std::pair<int, double>> values;
  for (int order = firstOrder; order <= kLastLimitedOrder; order += 2) values.emplace_back(order, limits.voltage[order]);
  const CommonValue common = commonValueOf(values, percentText);
  return name + percentText(common.value) + (common.others.empty() ? "" : "（" + common.others + "）");
}

std::string limitsText(const HarmonicLimits& limits) {
  if (limits.level.empty()) return "记录的电压等级不在限值表中，谐波无限值。";
  return "限值（" + limits.level + "）：电压总谐波畸变率" + percentText(limits.thd) + "，谐波电压含有率" +
         parityLimitsText(limits, 3, "奇次") + "、" + parityLimitsText(limits, 2, "偶次") +
         "；谐波电流允许值由基准短路容量" + numberText(limits.baseShortCircuitCapacity) + "MVA时的允许值按最小短路容量" +
         numberText(limits.minShortCircuitCapacity) + "MVA和协议容量" + numberText(limits.agreedCapacity) +
         "MVA与供电设备容量" + numberText(limits.supplyCapacity) + "MVA之比换算，叠加指数α：" +
         superpositionExponentsText(limits.exponents) + "。";
}

}  // namespace

std::string superpositionExponentsText(const SuperpositionExponents& exponents) {
  std::vector<std::pair<int, double>> values;
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) values.emplace_back(order, exponents[order]);
  const CommonValue common = commonValueOf(values, exponentText);
  return common.others + (common.others.empty() ? "各次" : "、其余") + exponentText(common.value);
}

std::vector<HarmonicIndex> assessHarmonics(const NinetyFivePercentSink& sink, const HarmonicLimits& limits) {
  char counted[1024];
  std::snprintf(counted, sizeof counted,
                "谐波（GB/T 14549）：谐波电压含有率、电压总谐波畸变率和谐波电流的3秒方均根值，95%%概率值"
                "（N个值中第⌈N/20⌉大的值）不大于限值为合格；含电压暂降、暂升或短时中断的%d个3秒值、长时中断的"
                "%d个3秒值不计。",
                sink.flaggedIntervals(), sink.outageIntervals());
  const std::string method = std::string(counted) + limitsText(limits);
  const auto quantities = aggregatedQuantities();
  std::vector<HarmonicIndex> indices;
  for (std::size_t k = 0; k < sink.judged().size(); ++k) {
    const JudgedQuantity& judged = sink.judged()[k];
    const QuantityDescriptor& d = quantities[judged.quantity];
    HarmonicIndex h{d.at, d.source == QuantitySource::Thd ? 0 : d.order, {}};
    IndexAssessment& index = h.index;
    index.method = method;
    const NinetyFivePercentSink::Summary s = sink.summary(k);
    index.values = s.values;
    index.max = s.max;
    index.min = s.min;
    index.mean = s.mean;
    index.p95 = s.p95;
    if (!(judged.limit > 0) || !std::isfinite(judged.limit)) {
      index.reason = messages::kInvalidLimits;
    } else if (s.values == 0) {
      index.reason = messages::kNoThreeSecondValues;
    } else {
      index.upperLimit = judged.limit;
      index.passRate = 100.0 * s.within / s.values;
      if (std::isnan(s.p95)) {
        index.reason = s.values < 20 ? messages::kTooFewFor95Percent : messages::kNinetyFiveUnknown;
      } else {
        index.verdict = s.p95 <= judged.limit ? Verdict::Pass : Verdict::Fail;
      }
    }
    indices.push_back(std::move(h));
  }
  return indices;
}

}  // namespace pq
