#include "assessment/AssessmentPages.h"

#include <cmath>
#include <filesystem>

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/VerdictSummary.h"
#include "base/FieldText.h"
#include "base/PictureFormat.h"
#include "base/TextCodec.h"
#include "pages/PageFlow.h"
#include "records/InstrumentNumber.h"
#include "records/RecordHead.h"
#include "records/RecordStore.h"
#include "statistics/HarmonicLimitTables.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

const std::vector<TableColumn> kVerdictColumns = {{"指标", 122}, {"依据", 88},  {"评判量", 156},
                                                  {"评判值", 112}, {"限值", 150}, {"结论", 56}};

std::string joined(const std::vector<std::string>& texts, const char* separator) {
  std::string text;
  for (const std::string& t : texts) text += (text.empty() ? "" : separator) + t;
  return text;
}

std::string eventCountsText(const AssessmentResult& result) {
  int counts[6] = {0, 0, 0, 0, 0, 0};
  for (const VoltageEvent& e : listedEvents(result)) ++counts[static_cast<int>(e.kind)];
  const auto count = [&](VoltageEventKind kind) { return std::to_string(counts[static_cast<int>(kind)]); };
  return "电压暂降" + count(VoltageEventKind::Dip) + "次、电压暂升" + count(VoltageEventKind::Swell) + "次、短时中断" +
         count(VoltageEventKind::Interruption) + "次；长时中断" + count(VoltageEventKind::LongInterruption) +
         "次，停电共" + pageNumber(result.outageSeconds / 60.0, 1) + "分钟";
}

std::string gapsText(const AssessmentResult& result) {
  std::int64_t seconds = 0;
  for (const RecordGap& gap : result.span.gaps) seconds += gap.to - gap.from + 1;
  return std::to_string(result.span.gaps.size()) + "处，共" + pageNumber(static_cast<double>(seconds) / 60.0, 1) +
         "分钟" + (result.span.gaps.empty() ? "" : "，明细见文末数据说明");
}

void head(ReportDocument& document, const AssessmentResult& result, const AssessmentHeading& heading) {
  const SupplyVoltage& supply = result.setup.supply;
  document.headerLine("变（配）电所名称：" + heading.station);
  document.headerLine("测点名称：" + heading.point);
  std::string level = "电压等级：" + heading.level;
  if (supply.declared > 0 && std::isfinite(supply.declared)) {
    char declared[96];
    std::snprintf(declared, sizeof declared, "　标称电压：%.5g %s（%s）", supply.declared, heading.voltageUnit.c_str(),
                  supply.lineVoltages ? "线电压" : "相电压");
    level += declared;
  }
  document.headerLine(level);
  document.headerLine(std::string("接线方式：") + (supply.lineVoltages ? "三相三线" : "三相四线") +
                      "　PT变比：" + generalNumberText(heading.ptRatio) +
                      "　CT变比：" + generalNumberText(heading.ctRatio));
  document.headerLine("仪器编号：" + (heading.instrument.empty() ? std::string("—") : heading.instrument));
  if (!heading.files.empty()) document.headerLine("数据文件：" + joined(heading.files, "、"));
  if (result.span.records > 0) {
    document.headerLine("测试时段：" + epochTimeText(result.span.first) + " — " + epochTimeText(result.span.last));
    document.headerLine("记录：" + std::to_string(result.span.records) + "条，记录间隔" +
                        recordIntervalsText(result.recordIntervals) + "；数据中断" + gapsText(result));
    document.headerLine("电压事件：" + eventCountsText(result));
  }
  document.headerLine("限值：" + result.setup.limitSetName);
  if (!heading.mismatches.empty()) {
    document.paragraph("注：本次测试包含头信息与第一个文件不同的文件，经操作员确认一并评估：" +
                       joined(heading.mismatches, "；"));
  }
  document.space(6);
}

void verdicts(ReportDocument& document, const AssessmentResult& result) {
  const std::vector<VerdictRow> rows = verdictRows(result);
  std::vector<std::vector<std::string>> cells;
  for (const VerdictRow& row : rows)
    cells.push_back({row.index, row.standard, row.quantity, row.figure, row.limit, verdictText(row.verdict)});
  document.heading("评估结论");
  document.table(kVerdictColumns, std::move(cells));
  document.paragraph(conclusionText(rows));
  document.space(8);
}

// How many records took part, the records left out and every gap.
void dataNotes(ReportDocument& document, const AssessmentResult& result) {
  document.space(8);
  document.heading("数据说明");
  if (!result.spanMethod.empty()) document.paragraph(result.spanMethod);
  for (const RecordGap& gap : result.span.gaps) document.headerLine(gapText(gap));
}

}  // namespace

AssessmentHeading assessmentHeadingOf(const RecordHead& head) {
  AssessmentHeading heading;
  heading.station = gbkToUtf8(head.substationName);
  heading.point = gbkToUtf8(head.measuringPointName);
  heading.level = std::string(voltageLevelTextOfCode(head.voltageLevelCode));
  heading.voltageUnit = head.voltageUnit();
  heading.ptRatio = head.ptRatio;
  heading.ctRatio = head.ctRatio;
  if (!head.fileName.empty()) heading.files.push_back(std::filesystem::path(head.fileName).filename().string());
  return heading;
}

AssessmentHeading assessmentHeadingOf(const RecordStore& store) {
  AssessmentHeading heading = assessmentHeadingOf(static_cast<const RecordHead&>(store));
  if (store.recordCount() > 0) heading.instrument = instrumentNumberText(store.records().front());
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

ReportDocument assessmentDocument(const AssessmentResult& result, const AssessmentHeading& heading) {
  ReportDocument document("电能质量测试报告");
  head(document, result, heading);
  if (!result.refusal.empty()) {
    document.paragraph("未能评估：" + result.refusal);
    return document;
  }
  verdicts(document, result);
  for (const AssessmentIndexSection* section : assessmentIndexSections()) section->addPageSection(document, result);
  dataNotes(document, result);
  return document;
}

std::vector<ReportPage> assessmentPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  return PageFlow::layOut(assessmentDocument(result, heading));
}

std::vector<ReportPage> eventListPages(const AssessmentResult& result, const AssessmentHeading& heading) {
  ReportDocument document("电压事件列表");
  head(document, result, heading);
  if (!result.refusal.empty()) {
    document.paragraph("未能评估：" + result.refusal);
    return PageFlow::layOut(document);
  }
  addEventListBody(document, result);
  return PageFlow::layOut(document);
}

}  // namespace pq
