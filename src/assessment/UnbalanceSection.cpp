#include <cmath>
#include <utility>

#include "assessment/AssessmentCharts.h"
#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"

namespace pq {

namespace {

void unbalancePage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("三相电压不平衡度（GB/T 15543）");
  addChart(document, unbalanceChart(result));
  const UnbalanceAssessment& u = result.unbalance;
  const std::string limit = std::isnan(u.voltage.upperLimit)
                                ? "—"
                                : pageNumber(u.voltage.upperLimit, 2) + " / " + pageNumber(u.voltage.largestLimit, 2);
  addIndexTable(document, {indexRow("电压负序不平衡度 %", u.voltage, limit, 2),
                       indexRow("电流负序不平衡度 %", u.current, "—", 2)});
  addIndexNotes(document, {&u.voltage, &u.current});
}

void unbalanceSheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  const UnbalanceAssessment& u = result.unbalance;
  AssessmentTable table{"不平衡度",
                        {"指标", "最大值 %", "最小值 %", "平均值 %", "95%值 %", "限值 %", "短时限值 %",
                         "合格率 %", "结论", "说明"},
                        {}};
  for (const auto& [name, index] :
       {std::pair<const char*, const IndexAssessment&>{"电压负序不平衡度", u.voltage},
        {"电流负序不平衡度", u.current}}) {
    TableRow row{std::string(name)};
    appendStatistics(row, index);
    row.insert(row.end(), {sheetNumber(index.upperLimit), sheetNumber(index.largestLimit)});
    appendVerdict(row, index);
    table.rows.push_back(std::move(row));
  }
  sheets.push_back(std::move(table));
}

void unbalanceJson(const AssessmentResult& result, JsonWriter& json) {
  const UnbalanceAssessment& u = result.unbalance;
  json.key("unbalance").beginObject();
  addJsonNumber(json, "p95", u.voltage.p95);
  addJsonNumber(json, "max", u.voltage.max);
  addJsonNumber(json, "limit", u.voltage.upperLimit);
  addJsonNumber(json, "shortTermLimit", u.voltage.largestLimit);
  addJsonNumber(json, "passRate", u.voltage.passRate);
  addJsonVerdict(json, u.voltage);
  json.key("flaggedIntervals").integer(u.flaggedIntervals);
  json.key("outageIntervals").integer(u.outageIntervals);
  json.key("method").string(u.voltage.method);
  json.key("current").beginObject();
  addJsonNumber(json, "p95", u.current.p95);
  addJsonNumber(json, "max", u.current.max);
  addJsonNumber(json, "min", u.current.min);
  json.key("method").string(u.current.method).endObject();
  json.endObject();
}

}  // namespace

const AssessmentIndexSection kUnbalanceSection{unbalancePage, unbalanceSheets, unbalanceJson};

}  // namespace pq
