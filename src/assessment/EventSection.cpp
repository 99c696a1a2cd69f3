#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/IndexSectionParts.h"
#include "base/DurationText.h"
#include "export/JsonWriter.h"
#include "pages/PageFlow.h"

namespace pq {

namespace {

const std::vector<TableColumn> kEventColumns = {{"序号", 48},      {"类型", 140}, {"开始时间", 160},
                                                {"持续时间", 110}, {"相别", 80},  {"残余电压/峰值%", 150}};

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

void eventPage(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("电压暂降、暂升与短时中断（GB/T 30137）及持续电压事件");
  addEventListBody(flow, result);
  flow.space(8);
}

void eventSheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  sheets.push_back(eventTable(listedEvents(result), result.setup.supply.lineVoltages));
  const SarfiCounts& s = result.sarfi;
  sheets.push_back({"SARFI",
                    {"SARFI-90", "SARFI-70", "SARFI-50", "SARFI-10"},
                    {{sheetWhole(s.sarfi90), sheetWhole(s.sarfi70), sheetWhole(s.sarfi50), sheetWhole(s.sarfi10)}}});
}

void eventJsonList(JsonWriter& json, const char* key, const std::vector<VoltageEvent>& list, bool lineVoltages) {
  json.key(key).beginArray();
  for (const VoltageEvent& e : list) {
    json.beginObject();
    json.key("kind").string(eventKindText(e.kind));
    json.key("start").string(epochTimeText(e.start));
    json.key("durationSeconds").integer(e.durationSeconds);
    json.key("uncertaintySeconds").integer(e.intervalSeconds);
    json.key("phases").string(eventPhasesText(e, lineVoltages));
    addJsonNumber(json, "residual", e.extremePercent);
    json.key("unfinished").boolean(e.unfinished);
    json.endObject();
  }
  json.endArray();
}

void eventJson(const AssessmentResult& result, JsonWriter& json) {
  eventJsonList(json, "events", result.events, result.setup.supply.lineVoltages);
  eventJsonList(json, "sustained", result.sustained, result.setup.supply.lineVoltages);
  json.key("sarfi").beginObject();
  json.key("90").integer(result.sarfi.sarfi90);
  json.key("70").integer(result.sarfi.sarfi70);
  json.key("50").integer(result.sarfi.sarfi50);
  json.key("10").integer(result.sarfi.sarfi10);
  json.endObject();
  json.key("eventsMethod").string(result.eventsMethod);
}

}  // namespace

const AssessmentIndexSection kEventSection{eventPage, eventSheets, eventJson};

void addEventListBody(PageFlow& flow, const AssessmentResult& result) {
  eventSummary(flow, result);
  if (!listedEvents(result).empty()) flow.table(kEventColumns, eventListRows(result));
  flow.paragraph(result.eventsMethod);
}

std::vector<std::vector<std::string>> eventListRows(const AssessmentResult& result) {
  std::vector<std::vector<std::string>> rows;
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

AssessmentTable eventTable(const std::vector<VoltageEvent>& events, bool lineVoltages) {
  AssessmentTable table{"电压事件",
                        {"类型", "类型标识", "开始时间", "持续时间(s)", "持续时间", "不确定度(±s)", "相别",
                         "残余电压/峰值(%)", "说明"},
                        {},
                        {"", "", "", "", "", "", "", "0.00", ""}};
  for (const VoltageEvent& e : events) {
    table.rows.push_back({std::string(eventKindName(e.kind)), std::string(eventKindText(e.kind)),
                          sheetDateTime(e.start), sheetWhole(e.durationSeconds), durationText(e.durationSeconds),
                          sheetWhole(e.intervalSeconds), std::string(eventPhasesText(e, lineVoltages)),
                          sheetNumber(e.extremePercent), sheetText(e.unfinished ? "未结束" : "")});
  }
  return table;
}

}  // namespace pq
