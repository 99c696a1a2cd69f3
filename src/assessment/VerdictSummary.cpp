#include "assessment/VerdictSummary.h"

#include <cmath>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTexts.h"
#include "base/FieldText.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

std::string phaseName(int phase, bool lineVoltages) {
  return std::string(phaseLabel(phase, lineVoltages)) + (lineVoltages ? "线" : "相");
}

// The verdict of a channel from those of its orders and its distortion.
Verdict channelVerdict(const std::vector<const HarmonicIndex*>& indices) {
  bool anyPass = false;
  for (const HarmonicIndex* h : indices) {
    if (h->index.verdict == Verdict::Fail) return Verdict::Fail;
    anyPass = anyPass || h->index.verdict == Verdict::Pass;
  }
  return anyPass ? Verdict::Pass : Verdict::None;
}

VerdictRow harmonicRow(int channel, const std::vector<const HarmonicIndex*>& indices) {
  const bool voltage = isVoltageChannel(channel);
  VerdictRow row{std::string(voltage ? "谐波电压 " : "谐波电流 ") + kChannelNames[channel], "GB/T 14549",
                 voltage ? "含有率、THD的95%值" : "谐波电流的95%值", "—", "—", channelVerdict(indices)};
  const char* unit = voltage ? "%" : " A";
  const HarmonicIndex* worst = nullptr;
  double worstRatio = -1;
  for (const HarmonicIndex* h : indices) {
    if (!h->index.judged()) continue;
    const double ratio = h->index.p95 / h->index.upperLimit;
    if (ratio > worstRatio) {
      worstRatio = ratio;
      worst = h;
    }
  }
  if (worst != nullptr) {
    const std::string name = worst->order == 0 ? std::string("THD ") : std::to_string(worst->order) + "次 ";
    row.figure = name + pageNumber(worst->index.p95, 2) + unit;
    row.limit = pageNumber(worst->index.upperLimit, 2) + unit;
  }
  return row;
}

}  // namespace

std::vector<VerdictRow> verdictRows(const AssessmentResult& result) {
  std::vector<VerdictRow> rows;
  const bool lineVoltages = result.setup.supply.lineVoltages;
  for (int phase = 0; phase < 3; ++phase) {
    const IndexAssessment& d = result.deviation[phase].index;
    // The band in the shortest digits, so that the limit fits its column.
    const std::string band = std::isnan(d.upperLimit) ? std::string("—")
                                                      : "+" + generalNumberText(d.upperLimit) + "%/" +
                                                            generalNumberText(d.lowerLimit) + "%";
    rows.push_back({"供电电压偏差 " + phaseName(phase, lineVoltages), "GB/T 12325", "1分钟值的合格率",
                    std::isnan(d.passRate) ? "—" : pageNumber(d.passRate, 2) + "%",
                    "≥" + generalNumberText(result.setup.limits.requiredQualificationRate) + "%（" + band + "）",
                    d.verdict});
  }
  const IndexAssessment& u = result.unbalance.voltage;
  rows.push_back({"三相电压不平衡度", "GB/T 15543", "10分钟值95%值/最大值",
                  std::isnan(u.p95) ? "—" : pageNumber(u.p95, 2) + "%/" + pageNumber(u.max, 2) + "%",
                  std::isnan(u.upperLimit) ? "—"
                                           : pageNumber(u.upperLimit, 2) + "%/" + pageNumber(u.largestLimit, 2) + "%",
                  u.verdict});
  const IndexAssessment& f = result.frequency.index;
  const double largest = std::fabs(f.max) >= std::fabs(f.min) ? f.max : f.min;
  rows.push_back({"频率偏差", "GB/T 15945", "10秒值的最大偏差",
                  std::isnan(largest) ? "—" : pageNumber(largest, 3) + " Hz",
                  std::isnan(f.upperLimit) ? "—" : "±" + pageNumber(f.upperLimit, 3) + " Hz", f.verdict});
  for (int channel = 0; channel < kChannelCount; ++channel) {
    std::vector<const HarmonicIndex*> indices;
    for (const HarmonicIndex& h : result.harmonics)
      if (h.channel == channel) indices.push_back(&h);
    if (!indices.empty()) rows.push_back(harmonicRow(channel, indices));
  }
  return rows;
}

std::string conclusionText(const std::vector<VerdictRow>& rows) {
  std::string failed, unjudged;
  bool anyPass = false;
  for (const VerdictRow& row : rows) {
    anyPass = anyPass || row.verdict == Verdict::Pass;
    if (row.verdict == Verdict::Pass) continue;
    std::string& list = row.verdict == Verdict::Fail ? failed : unjudged;
    list += (list.empty() ? "" : "、") + row.index;
  }
  std::string text = !failed.empty() ? "不合格项：" + failed + "。"
                     : anyPass        ? "结论：所评估的各项指标均合格。"
                                      : "结论：没有可判断的指标。";
  if (!unjudged.empty()) text += "无结论项：" + unjudged + "（原因见各节）。";
  return text;
}

}  // namespace pq
