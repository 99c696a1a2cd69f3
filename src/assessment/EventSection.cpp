#include <algorithm>

#include "assessment/AssessmentCharts.h"
#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/EventClasses.h"
#include "assessment/IndexSectionParts.h"
#include "base/DurationText.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"

namespace pq {

namespace {

const std::vector<TableColumn> kEventColumns = {{"序号", 48},      {"类型", 140}, {"开始时间", 160},
                                                {"持续时间", 110}, {"相别", 80},  {"残余电压/峰值%", 150}};

void eventSummary(ReportDocument& document, const AssessmentResult& result) {
  int counts[6] = {0, 0, 0, 0, 0, 0};
  for (const VoltageEvent& e : listedEvents(result)) ++counts[static_cast<int>(e.kind)];
  const auto count = [&](VoltageEventKind kind) { return std::to_string(counts[static_cast<int>(kind)]); };
  const SarfiCounts& s = result.sarfi;
  document.paragraph("电压暂降 " + count(VoltageEventKind::Dip) + " 次，电压暂升 " + count(VoltageEventKind::Swell) +
                 " 次，短时中断 " + count(VoltageEventKind::Interruption) + " 次；超过60 s的持续低电压 " +
                 count(VoltageEventKind::Undervoltage) + " 次，持续过电压 " + count(VoltageEventKind::Overvoltage) +
                 " 次，长时中断 " + count(VoltageEventKind::LongInterruption) + " 次（停电共 " +
                 pageNumber(result.outageSeconds / 60.0, 1) + " 分钟）。");
  document.paragraph("SARFI-90：" + std::to_string(s.sarfi90) + "，SARFI-70：" + std::to_string(s.sarfi70) +
                 "，SARFI-50：" + std::to_string(s.sarfi50) + "，SARFI-10：" + std::to_string(s.sarfi10) + "。");
}

// GB/T 30137's table of counts by residual voltage and duration, and the events drawn over it.
void eventClasses(ReportDocument& document, const AssessmentResult& result) {
  const EventClassTable classes = eventClassTable(result.events, result.setup.recordSeconds);
  std::vector<TableColumn> columns{{"类别", 80}, {"u（%）", 90}};
  const int width = std::min(110, static_cast<int>((assessmentChartWidth() - 170) / classes.columns.size()));
  for (const EventClassTable::Column& column : classes.columns) columns.push_back({column.title, width});
  std::vector<std::vector<std::string>> rows;
  std::size_t band = 0;
  const auto addRows = [&](const std::vector<EventClassTable::Band>& bands, const char* kind) {
    for (const EventClassTable::Band& b : bands) {
      std::vector<std::string> row{kind, b.title};
      for (const int count : classes.counts[band]) row.push_back(std::to_string(count));
      rows.push_back(std::move(row));
      ++band;
    }
  };
  addRows(classes.swellBands, "电压暂升");
  addRows(classes.dipBands, "暂降/中断");
  document.heading("按剩余电压和持续时间分类的事件次数", 2);
  document.table(std::move(columns), std::move(rows));
  std::string note = "u为暂降、短时中断的剩余电压或暂升的峰值，以标称电压的百分数计；t为持续时间。";
  document.paragraph(note + classes.mergeNote);
  addChart(document, eventChart(result, classes));
}

void eventPage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("电压暂降、暂升与短时中断（GB/T 30137）及持续电压事件");
  eventClasses(document, result);
  addEventListBody(document, result);
  document.space(8);
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

void addEventListBody(ReportDocument& document, const AssessmentResult& result) {
  eventSummary(document, result);
  if (!listedEvents(result).empty()) document.table(kEventColumns, eventListRows(result));
  document.paragraph(result.eventsMethod);
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
