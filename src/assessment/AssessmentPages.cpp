#include "assessment/AssessmentPages.h"

#include <cmath>

#include "assessment/AssessmentTexts.h"
#include "base/PictureFormat.h"
#include "base/TextCodec.h"
#include "pages/PageFlow.h"
#include "records/RecordStore.h"
#include "statistics/HarmonicLimitTables.h"

namespace pq {

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<TableColumn> kIndexColumns = {{"指标", 150}, {"最大值", 66}, {"最小值", 66}, {"平均值", 66},
                                                {"95%值", 66},  {"限值", 100},  {"合格率%", 66}, {"结论", 56}};
const std::vector<TableColumn> kDeviationColumns = {
    {"相别", 40},  {"最大值%", 62}, {"最小值%", 62}, {"平均值%", 62}, {"95%值%", 62},
    {"限值%", 96}, {"监测分钟", 70}, {"超上限", 54},  {"超下限", 54},  {"合格率%", 62}, {"结论", 56}};
const std::vector<TableColumn> kHarmonicColumns = {{"通道", 48},  {"指标", 120},  {"最大值", 72},
                                                   {"最小值", 72}, {"平均值", 72}, {"95%值", 72},
                                                   {"限值", 72},   {"合格率%", 72}, {"结论", 60}};
const std::vector<TableColumn> kEventColumns = {{"序号", 48},      {"类型", 140}, {"开始时间", 160},
                                                {"持续时间", 110}, {"相别", 80},  {"残余电压/峰值%", 150}};

std::string verdictCell(const IndexAssessment& index) { return verdictText(index.verdict); }

// The index's row after its name: statistics, limit, pass rate and verdict.
std::vector<std::string> indexRow(std::string name, const IndexAssessment& index, const std::string& limit,
                                  int decimals) {
  return {std::move(name),
          pageNumber(index.max, decimals),
          pageNumber(index.min, decimals),
          pageNumber(index.mean, decimals),
          pageNumber(index.p95, decimals),
          limit,
          pageNumber(index.passRate, 2),
          verdictCell(index)};
}

// The methods of a table's indices, each once, and the reasons of those without a verdict.
void notes(PageFlow& flow, const std::vector<const IndexAssessment*>& indices) {
  std::vector<std::string> said;
  auto sayOnce = [&](const std::string& text) {
    if (text.empty()) return;
    for (const std::string& s : said)
      if (s == text) return;
    said.push_back(text);
    flow.paragraph(text);
  };
  for (const IndexAssessment* index : indices) sayOnce(index->method);
  for (const IndexAssessment* index : indices)
    if (!index->judged()) sayOnce("无结论：" + index->reason);
  flow.space(8);
}

void head(PageFlow& flow, const AssessmentResult& result, const AssessmentHeading& heading) {
  flow.headerLine("变（配）电所名称：" + heading.station);
  flow.headerLine("测点名称：" + heading.point);
  flow.headerLine("电压等级：" + heading.level);
  if (result.span.records > 0)
    flow.headerLine("评估时段：" + epochTimeText(result.span.first) + " — " + epochTimeText(result.span.last));
  flow.headerLine("限值：" + result.setup.limitSetName);
  // How many records took part, the gaps and the records left out.
  if (!result.spanMethod.empty()) flow.paragraph(result.spanMethod);
  for (const RecordGap& gap : result.span.gaps) flow.headerLine(gapText(gap));
  flow.space(6);
}

void deviationSection(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("供电电压偏差（GB/T 12325）");
  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  Rows rows;
  std::vector<const IndexAssessment*> indices;
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    const IndexAssessment& i = d.index;
    const std::string limit = std::isnan(i.upperLimit)
                                  ? "—"
                                  : "+" + pageNumber(i.upperLimit, 2) + "/" + pageNumber(i.lowerLimit, 2);
    rows.push_back({result.setup.supply.lineVoltages ? kLines[phase] : kPhases[phase], pageNumber(i.max, 2),
                    pageNumber(i.min, 2), pageNumber(i.mean, 2), pageNumber(i.p95, 2), limit,
                    std::to_string(d.monitoredMinutes), std::to_string(d.minutesOver),
                    std::to_string(d.minutesUnder), pageNumber(i.passRate, 2), verdictCell(i)});
    indices.push_back(&i);
  }
  flow.table(kDeviationColumns, rows);
  notes(flow, indices);
}

void unbalanceAndFrequencySection(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("三相电压不平衡度（GB/T 15543）");
  const UnbalanceAssessment& u = result.unbalance;
  const std::string unbalanceLimit = std::isnan(u.voltage.upperLimit)
                                         ? "—"
                                         : pageNumber(u.voltage.upperLimit, 2) + " / " +
                                               pageNumber(u.voltage.largestLimit, 2);
  flow.table(kIndexColumns, {indexRow("电压负序不平衡度 %", u.voltage, unbalanceLimit, 2),
                             indexRow("电流负序不平衡度 %", u.current, "—", 2)});
  notes(flow, {&u.voltage, &u.current});

  flow.heading("频率偏差（GB/T 15945）");
  const IndexAssessment& f = result.frequency.index;
  const std::string frequencyLimit = std::isnan(f.upperLimit) ? "—" : "±" + pageNumber(f.upperLimit, 3);
  flow.table(kIndexColumns, {indexRow("频率偏差 Hz", f, frequencyLimit, 3)});
  notes(flow, {&f});
}

void harmonicSection(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("谐波（GB/T 14549）");
  Rows rows;
  std::vector<const IndexAssessment*> indices;
  for (const HarmonicIndex& h : result.harmonics) {
    const bool voltage = isVoltageChannel(h.channel);
    std::string name = h.order == 0 ? std::string("总畸变率 %")
                                    : std::to_string(h.order) + (voltage ? "次含有率 %" : "次电流 A");
    std::vector<std::string> row = indexRow(std::move(name), h.index, pageNumber(h.index.upperLimit, 2), 2);
    row.insert(row.begin(), kChannelNames[h.channel]);
    rows.push_back(std::move(row));
    indices.push_back(&h.index);
  }
  flow.table(kHarmonicColumns, rows);
  notes(flow, indices);
}

void eventSummary(PageFlow& flow, const AssessmentResult& result) {
  int counts[6] = {0, 0, 0, 0, 0, 0};
  for (const VoltageEvent& e : listedEvents(result)) ++counts[static_cast<int>(e.kind)];
  const auto count = [&](VoltageEventKind kind) { return std::to_string(counts[static_cast<int>(kind)]); };
  const SarfiCounts& s = result.sarfi;
  flow.paragraph("电压暂降 " + count(VoltageEventKind::Dip) + " 次，电压暂升 " + count(VoltageEventKind::Swell) +
                 " 次，短时中断 " + count(VoltageEventKind::Interruption) + " 次；超过60 s的持续低电压 " +
                 count(VoltageEventKind::Undervoltage) + " 次，持续过电压 " + count(VoltageEventKind::Overvoltage) +
                 " 次，长时中断 " + count(VoltageEventKind::LongInterruption) + " 次（停电共 " +
                 pageNumber(result.outageSeconds / 60.0, 1) + " 分钟）。");
  flow.paragraph("SARFI-90：" + std::to_string(s.sarfi90) + "，SARFI-70：" + std::to_string(s.sarfi70) +
                 "，SARFI-50：" + std::to_string(s.sarfi50) + "，SARFI-10：" + std::to_string(s.sarfi10) + "。");
}

void eventSection(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("电压暂降、暂升与短时中断（GB/T 30137）及持续电压事件");
  eventSummary(flow, result);
  if (!listedEvents(result).empty()) flow.table(kEventColumns, eventListRows(result));
  flow.paragraph(result.eventsMethod);
  flow.space(8);
}

void energySection(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("电能与功率因数");
  const EnergySummary& e = result.energy;
  const std::string demandAt =
      std::isnan(e.largestDemandKw) ? "—" : epochTimeText(e.largestDemandStart) + " 起 15 分钟";
  flow.table({{"项目", 220}, {"数值", 160}, {"说明", 280}},
             {{"有功电能 kWh", pageNumber(e.activeKwh, 3), ""},
              {"滞后（感性）无功电能 kvarh", pageNumber(e.laggingKvarh, 3), "三相总无功功率为正的记录"},
              {"超前（容性）无功电能 kvarh", pageNumber(e.leadingKvarh, 3), "三相总无功功率为负的记录"},
              {"无功电能 kvarh", pageNumber(e.reactiveKvarh, 3), "滞后+|超前|，不相互抵消"},
              {"加权平均功率因数", pageNumber(e.powerFactor, 2), "由有功、无功电能计算"},
              {"最大需量 kW（15 分钟）", pageNumber(e.largestDemandKw, 3), demandAt}});
  flow.paragraph(result.energyMethod);
}

}  // namespace

std::vector<std::vector<std::string>> eventListRows(const AssessmentResult& result) {
  Rows rows;
  int number = 0;
  for (const VoltageEvent& e : listedEvents(result)) {
    const std::string kind = std::string(eventKindName(e.kind)) + (e.unfinished ? "（未结束）" : "");
    rows.push_back({std::to_string(++number), kind, epochTimeText(e.start), eventDurationText(e),
                    eventPhasesText(e, result.setup.supply.lineVoltages), pageNumber(e.extremePercent, 2)});
  }
  return rows;
}

std::vector<std::string> eventListHeadings() {
  std::vector<std::string> headings;
  for (const TableColumn& column : kEventColumns) headings.push_back(column.title);
  return headings;
}

AssessmentHeading assessmentHeadingOf(const RecordHead& store) {
  AssessmentHeading heading;
  heading.station = gbkToUtf8(store.substationName);
  heading.point = gbkToUtf8(store.measuringPointName);
  const int code = store.voltageLevelCode;
  if (code >= 1 && code <= kVoltageLevelCount) heading.level = std::string(kVoltageLevelTexts[code - 1]);
  return heading;
}

std::string pageNumber(double value, int decimals) {
  if (!std::isfinite(value)) return "—";
  // Rounded as the phase reports round, halves away from zero; no "-0.00" for a value that rounds to
  // zero.
  std::string text = formatPicture(value, decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0");
  if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
  return text;
}

std::vector<ReportPage> assessmentPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  PageFlow flow("电能质量综合评估报告");
  head(flow, result, heading);
  if (!result.refusal.empty()) {
    flow.paragraph("未能评估：" + result.refusal);
    return flow.finish();
  }
  deviationSection(flow, result);
  unbalanceAndFrequencySection(flow, result);
  harmonicSection(flow, result);
  eventSection(flow, result);
  energySection(flow, result);
  return flow.finish();
}

std::vector<ReportPage> eventListPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  PageFlow flow("电压事件列表");
  head(flow, result, heading);
  if (!result.refusal.empty()) {
    flow.paragraph("未能评估：" + result.refusal);
    return flow.finish();
  }
  eventSummary(flow, result);
  if (!listedEvents(result).empty()) flow.table(kEventColumns, eventListRows(result));
  flow.paragraph(result.eventsMethod);
  return flow.finish();
}

}  // namespace pq
