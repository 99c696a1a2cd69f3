#include "assessment/HarmonicAssessment.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "aggregation/AggregatedQuantities.h"
#include "assessment/AssessmentMessages.h"
#include "statistics/ReportLimits.h"

namespace pq {

std::vector<JudgedQuantity> harmonicQuantities(const ReportLimits& limits) {
  std::vector<JudgedQuantity> judged;
  for (int channel = Ua; channel <= Uc; ++channel) {
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      judged.push_back({harmonicContentQuantity(channel, order), limits.harmonicVoltageLimit(order)});
    judged.push_back({thdQuantity(channel), limits.thdLimit});
  }
  for (int channel = Ia; channel <= Ic; ++channel) {
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      judged.push_back({harmonicCurrentQuantity(channel, order), limits.harmonicCurrentLimit[order]});
  }
  return judged;
}

namespace {

// At least one decimal, so that 2 reads as the exponent 2.0 of the standard's table.
std::string exponentText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  std::string shown = text;
  if (shown.find_first_of(".e") == std::string::npos) shown += ".0";
  return shown;
}

}  // namespace

std::string superpositionExponentsText(const SuperpositionExponents& exponents) {
  double common = exponents[kFirstLimitedOrder];
  int most = 0;
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    const auto count = std::count(exponents.begin() + kFirstLimitedOrder, exponents.end(), exponents[order]);
    if (count > most) {
      most = static_cast<int>(count);
      common = exponents[order];
    }
  }
  std::string text;
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    if (exponents[order] == common) continue;
    text += std::to_string(order) + "次" + exponentText(exponents[order]) + "、";
  }
  return text + (text.empty() ? "各次" : "其余") + exponentText(common);
}

std::vector<HarmonicIndex> assessHarmonics(const NinetyFivePercentSink& sink,
                                           const SuperpositionExponents& exponents) {
  char counted[1024];
  std::snprintf(counted, sizeof counted,
                "谐波（GB/T 14549）：谐波电压含有率、电压总谐波畸变率和谐波电流的3秒方均根值，95%%概率值"
                "（N个值中第⌈N/20⌉大的值）不大于限值为合格；含电压暂降、暂升或短时中断的%d个3秒值、长时中断的"
                "%d个3秒值不计。",
                sink.flaggedIntervals(), sink.outageIntervals());
  const std::string method = std::string(counted) +
                             "谐波电流允许值按最小短路容量和协议容量与供电设备容量之比换算，叠加指数α：" +
                             superpositionExponentsText(exponents) + "。";
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
