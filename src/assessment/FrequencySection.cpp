#include <cmath>

#include "assessment/AssessmentCharts.h"
#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"

namespace pq {

namespace {

void frequencyPage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("频率偏差（GB/T 15945）");
  addChart(document, frequencyChart(result));
  const IndexAssessment& f = result.frequency.index;
  const std::string limit = std::isnan(f.upperLimit) ? "—" : "±" + pageNumber(f.upperLimit, 3);
  addIndexTable(document, {indexRow("频率偏差 Hz", f, limit, 3)});
  addIndexNotes(document, {&f});
}

void frequencySheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  const FrequencyDeviationAssessment& f = result.frequency;
  TableRow row{std::string("频率偏差")};
  appendStatistics(row, f.index);
  row.push_back(sheetNumber(f.index.upperLimit));
  row.push_back(sheetWhole(f.invalidRecords));
  appendVerdict(row, f.index);
  sheets.push_back({"频率偏差",
                    {"指标", "最大值 Hz", "最小值 Hz", "平均值 Hz", "95%值 Hz", "限值 ±Hz", "无效频率记录",
                     "合格率 %", "结论", "说明"},
                    {std::move(row)},
                    {"", "0.000", "0.000", "0.000", "0.000", "0.000"}});
}

void frequencyJson(const AssessmentResult& result, JsonWriter& json) {
  const FrequencyDeviationAssessment& f = result.frequency;
  json.key("frequency").beginObject();
  addJsonNumber(json, "max", f.index.max);
  addJsonNumber(json, "min", f.index.min);
  addJsonNumber(json, "p95", f.index.p95);
  addJsonNumber(json, "limit", f.index.upperLimit);
  addJsonNumber(json, "passRate", f.index.passRate);
  addJsonVerdict(json, f.index);
  json.key("flaggedIntervals").integer(f.flaggedIntervals);
  json.key("outageIntervals").integer(f.outageIntervals);
  json.key("invalidRecords").integer(f.invalidRecords);
  json.key("method").string(f.index.method).endObject();
}

}  // namespace

const AssessmentIndexSection kFrequencySection{frequencyPage, frequencySheets, frequencyJson};

}  // namespace pq
