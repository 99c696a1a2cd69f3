#include <cmath>

#include "assessment/AssessmentCharts.h"
#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"

namespace pq {

namespace {

const std::vector<TableColumn> kDeviationColumns = {
    {"相别", 40},  {"最大值%", 62}, {"最小值%", 62}, {"平均值%", 62}, {"95%值%", 62},
    {"限值%", 96}, {"监测分钟", 70}, {"超上限", 54},  {"超下限", 54},  {"合格率%", 62}, {"结论", 56}};

void deviationPage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("供电电压偏差（GB/T 12325）");
  addChart(document, deviationTimeChart(result));
  addChart(document, deviationDistributionChart(result));
  std::vector<std::vector<std::string>> rows;
  std::vector<const IndexAssessment*> indices;
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    const IndexAssessment& i = d.index;
    const std::string limit = std::isnan(i.upperLimit)
                                  ? "—"
                                  : "+" + pageNumber(i.upperLimit, 2) + "/" + pageNumber(i.lowerLimit, 2);
    rows.push_back({phaseLabel(phase, result.setup.supply.lineVoltages), pageNumber(i.max, 2),
                    pageNumber(i.min, 2), pageNumber(i.mean, 2), pageNumber(i.p95, 2), limit,
                    std::to_string(d.monitoredMinutes), std::to_string(d.minutesOver),
                    std::to_string(d.minutesUnder), pageNumber(i.passRate, 2), verdictText(i.verdict)});
    indices.push_back(&i);
  }
  document.table(kDeviationColumns, rows);
  addIndexNotes(document, indices);
}

void deviationSheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  AssessmentTable table{"电压偏差",
                        {"相别", "最大值 %", "最小值 %", "平均值 %", "95%值 %", "上限 %", "下限 %",
                         "监测分钟", "超上限分钟", "超下限分钟", "含事件分钟", "停电分钟", "合格率 %", "结论",
                         "说明"},
                        {}};
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    TableRow row{std::string(phaseLabel(phase, result.setup.supply.lineVoltages))};
    appendStatistics(row, d.index);
    row.insert(row.end(), {sheetNumber(d.index.upperLimit), sheetNumber(d.index.lowerLimit),
                           sheetWhole(d.monitoredMinutes), sheetWhole(d.minutesOver), sheetWhole(d.minutesUnder),
                           sheetWhole(d.flaggedMinutes), sheetWhole(d.outageMinutes)});
    appendVerdict(row, d.index);
    table.rows.push_back(std::move(row));
  }
  sheets.push_back(std::move(table));
}

void deviationJson(const AssessmentResult& result, JsonWriter& json) {
  json.key("deviation").beginObject();
  const IndexAssessment& first = result.deviation[0].index;
  addJsonNumber(json, "upperLimit", first.upperLimit);
  addJsonNumber(json, "lowerLimit", first.lowerLimit);
  json.key("declaredVoltage").number(static_cast<float>(result.setup.supply.declared));
  json.key("phases").beginObject();
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    json.key(phaseLabel(phase, result.setup.supply.lineVoltages)).beginObject();
    json.key("monitoredMinutes").integer(d.monitoredMinutes);
    json.key("overMinutes").integer(d.minutesOver);
    json.key("underMinutes").integer(d.minutesUnder);
    json.key("flaggedMinutes").integer(d.flaggedMinutes);
    json.key("outageMinutes").integer(d.outageMinutes);
    json.key("minutesWithoutValue").integer(d.minutesWithoutValue);
    addJsonNumber(json, "qualificationRate", d.index.passRate);
    addJsonNumber(json, "max", d.index.max);
    addJsonNumber(json, "min", d.index.min);
    addJsonNumber(json, "mean", d.index.mean);
    addJsonNumber(json, "p95", d.index.p95);
    addJsonVerdict(json, d.index);
    json.endObject();
  }
  json.endObject().key("method").string(first.method).endObject();
}

}  // namespace

const AssessmentIndexSection kDeviationSection{deviationPage, deviationSheets, deviationJson};

}  // namespace pq
