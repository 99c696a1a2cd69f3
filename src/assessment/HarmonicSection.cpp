#include <string>

#include "assessment/AssessmentCharts.h"
#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/IndexSectionParts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

// Orders as rows, the channels' 95 % values as columns, each kind's limit beside its channels: the
// three voltage channels share the limits of the level, the three currents those of the capacities;
// "*" marks a value over its limit.
const std::vector<TableColumn> kHarmonicColumns = {{"次数", 56}, {"Ua %", 72}, {"Ub %", 72}, {"Uc %", 72},
                                                   {"限值 %", 80}, {"Ia A", 72}, {"Ib A", 72}, {"Ic A", 72},
                                                   {"限值 A", 80}};

// Row 0 the distortion, rows 1.. orders 2..25.
std::size_t harmonicRowOf(const HarmonicIndex& h) {
  return h.order == 0 ? std::size_t{0} : static_cast<std::size_t>(h.order - 1);
}

std::vector<std::vector<std::string>> harmonicTableRows(const AssessmentResult& result) {
  constexpr std::size_t kRows = 25;
  constexpr std::size_t kVoltageLimitColumn = 4;
  constexpr std::size_t kCurrentLimitColumn = 8;
  std::vector<std::vector<std::string>> rows(kRows, std::vector<std::string>(kHarmonicColumns.size()));
  rows[0][0] = "THD";
  for (std::size_t row = 1; row < kRows; ++row) rows[row][0] = std::to_string(row + 1);
  for (const HarmonicIndex& h : result.harmonics) {
    const std::size_t row = harmonicRowOf(h);
    if (row >= kRows || h.channel < 0 || h.channel >= kChannelCount) continue;
    const bool voltage = isVoltageChannel(h.channel);
    rows[row][static_cast<std::size_t>(h.channel) + (voltage ? 1 : 2)] =
        pageNumber(h.index.p95, 2) + (h.index.verdict == Verdict::Fail ? "*" : "");
    // The limits of a kind come from one table for all its channels (harmonicQuantities): the first
    // channel that has the order gives them.
    std::string& limit = rows[row][voltage ? kVoltageLimitColumn : kCurrentLimitColumn];
    if (limit.empty()) limit = pageNumber(h.index.upperLimit, 2);
  }
  return rows;
}

void harmonicPage(ReportDocument& document, const AssessmentResult& result) {
  document.heading("谐波（GB/T 14549）");
  document.heading("各通道谐波的95%值与限值", 2);
  document.table(kHarmonicColumns, harmonicTableRows(result));
  document.paragraph("电压为谐波含有率（THD为总谐波畸变率），%；电流为谐波电流，A；带*者超过限值。最大值、最小值、"
                     "平均值和合格率见导出的工作簿。");
  for (int channel = 0; channel < kChannelCount; ++channel) addChart(document, harmonicChart(result, channel));
  std::vector<const IndexAssessment*> indices;
  for (const HarmonicIndex& h : result.harmonics) indices.push_back(&h.index);
  addIndexNotes(document, indices);
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
