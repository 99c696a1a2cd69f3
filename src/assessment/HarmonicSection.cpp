#include <string>

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/PageFlow.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

const std::vector<TableColumn> kHarmonicColumns = {{"通道", 48},  {"指标", 120},  {"最大值", 72},
                                                   {"最小值", 72}, {"平均值", 72}, {"95%值", 72},
                                                   {"限值", 72},   {"合格率%", 72}, {"结论", 60}};

void harmonicPage(PageFlow& flow, const AssessmentResult& result) {
  flow.heading("谐波（GB/T 14549）");
  std::vector<std::vector<std::string>> rows;
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
  addIndexNotes(flow, indices);
}

void harmonicSheets(const AssessmentResult& result, std::vector<AssessmentTable>& sheets) {
  AssessmentTable table{
      "谐波",
      {"通道", "次数", "单位", "最大值", "最小值", "平均值", "95%值", "限值", "合格率 %", "结论", "说明"},
      {},
      // Harmonic currents in A take the decimals of the record grid, contents in % alike.
      {"", "", "", "0.000", "0.000", "0.000", "0.000", "0.000"}};
  for (const HarmonicIndex& h : result.harmonics) {
    TableRow row{std::string(kChannelNames[h.channel])};
    row.push_back(h.order == 0 ? TableCell(std::string("THD")) : sheetWhole(h.order));
    row.push_back(std::string(isVoltageChannel(h.channel) ? "%" : "A"));
    appendStatistics(row, h.index);
    row.push_back(sheetNumber(h.index.upperLimit));
    appendVerdict(row, h.index);
    table.rows.push_back(std::move(row));
  }
  sheets.push_back(std::move(table));
}

void harmonicJson(const AssessmentResult& result, JsonWriter& json) {
  const std::vector<HarmonicIndex>& indices = result.harmonics;
  json.key("harmonics").beginObject();
  int channel = -1;
  for (const HarmonicIndex& h : indices) {
    if (h.channel != channel) {
      if (channel >= 0) json.endObject();
      channel = h.channel;
      json.key(kChannelNames[channel]).beginObject();
    }
    json.key(h.order == 0 ? std::string("thd") : std::to_string(h.order)).beginObject();
    addJsonNumber(json, "max", h.index.max);
    addJsonNumber(json, "min", h.index.min);
    addJsonNumber(json, "avg", h.index.mean);
    addJsonNumber(json, "p95", h.index.p95);
    addJsonNumber(json, "limit", h.index.upperLimit);
    addJsonNumber(json, "passRate", h.index.passRate);
    addJsonVerdict(json, h.index);
    json.endObject();
  }
  if (channel >= 0) json.endObject();
  if (!indices.empty()) json.key("method").string(indices.front().index.method);
  json.endObject();
}

}  // namespace

const AssessmentIndexSection kHarmonicSection{harmonicPage, harmonicSheets, harmonicJson};

}  // namespace pq
