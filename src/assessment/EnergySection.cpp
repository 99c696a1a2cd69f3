#include <cmath>

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

void energyPage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("电能与功率因数");
  const EnergySummary& e = result.energy;
  const std::string demandAt =
      std::isnan(e.largestDemandKw) ? "—" : epochTimeText(e.largestDemandStart) + " 起 15 分钟";
  document.table({{"项目", 220}, {"数值", 160}, {"说明", 280}},
             {{"有功电能 kWh", pageNumber(e.activeKwh, 3), ""},
              {"滞后（感性）无功电能 kvarh", pageNumber(e.laggingKvarh, 3), "三相总无功功率为正的记录"},
              {"超前（容性）无功电能 kvarh", pageNumber(e.leadingKvarh, 3), "三相总无功功率为负的记录"},
              {"无功电能 kvarh", pageNumber(e.reactiveKvarh, 3), "滞后+|超前|，不相互抵消"},
              {"加权平均功率因数", pageNumber(e.powerFactor, 2), "由有功、无功电能计算"},
              {"最大需量 kW（15 分钟）", pageNumber(e.largestDemandKw, 3), demandAt}});
  document.paragraph(result.energyMethod);
}

void energySheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  const EnergySummary& e = result.energy;
  // Cell by cell: a brace list of cells with the conditional time makes g++ 12 at -O3 warn falsely
  // (-Wmaybe-uninitialized) about the texts of the cells it copies.
  TableRow row;
  row.reserve(7);
  for (const double value :
       {e.activeKwh, e.laggingKvarh, e.leadingKvarh, e.reactiveKvarh, e.powerFactor, e.largestDemandKw})
    row.push_back(sheetNumber(value));
  if (!std::isnan(e.largestDemandKw)) {
    row.push_back(sheetDateTime(e.largestDemandStart));
  } else {
    row.emplace_back();
  }
  sheets.push_back({"电能",
                    {"有功电能 kWh", "滞后无功电能 kvarh", "超前无功电能 kvarh", "无功电能 kvarh（滞后+|超前|）",
                     "加权平均功率因数", "最大需量 kW（15 分钟）", "最大需量起始时间"},
                    {std::move(row)},
                    {"0.00", "0.00", "0.00", "0.00", "0.000"}});
}

void energyJson(const AssessmentResult& result, JsonWriter& json) {
  const EnergySummary& e = result.energy;
  json.key("energy").beginObject();
  addJsonNumber(json, "activeKWh", e.activeKwh);
  addJsonNumber(json, "reactiveKvarh", e.reactiveKvarh);
  addJsonNumber(json, "laggingKvarh", e.laggingKvarh);
  addJsonNumber(json, "leadingKvarh", e.leadingKvarh);
  addJsonNumber(json, "powerFactor", e.powerFactor);
  addJsonNumber(json, "maxDemandKW", e.largestDemandKw);
  json.key("maxDemandAt");
  if (std::isnan(e.largestDemandKw)) {
    json.null();
  } else {
    json.string(epochTimeText(e.largestDemandStart));
  }
  json.key("method").string(result.energyMethod).endObject();
}

}  // namespace

const AssessmentIndexSection kEnergySection{energyPage, energySheets, energyJson};

}  // namespace pq
