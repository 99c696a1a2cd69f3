#include "assessment/IndexSectionParts.h"

#include <cmath>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTexts.h"
#include "export/JsonWriter.h"
#include "pages/ReportDocument.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

const std::vector<TableColumn> kIndexColumns = {{"指标", 150}, {"最大值", 66}, {"最小值", 66}, {"平均值", 66},
                                                {"95%值", 66},  {"限值", 100},  {"合格率%", 66}, {"结论", 56}};

}  // namespace

void addIndexTable(ReportDocument& document, const std::vector<std::vector<std::string>>& rows) {
  document.table(kIndexColumns, rows);
}

std::vector<std::string> indexRow(std::string name, const IndexAssessment& index, const std::string& limit,
                                  int decimals) {
  return {std::move(name),
          pageNumber(index.max, decimals),
          pageNumber(index.min, decimals),
          pageNumber(index.mean, decimals),
          pageNumber(index.p95, decimals),
          limit,
          pageNumber(index.passRate, 2),
          verdictText(index.verdict)};
}

void addChart(ReportDocument& document, PageDrawing chart) {
  if (!chart.empty()) document.chart(std::move(chart));
}

void addIndexNotes(ReportDocument& document, const std::vector<const IndexAssessment*>& indices) {
  std::vector<std::string> said;
  auto sayOnce = [&](const std::string& text) {
    if (text.empty()) return;
    for (const std::string& s : said)
      if (s == text) return;
    said.push_back(text);
    document.paragraph(text);
  };
  for (const IndexAssessment* index : indices) sayOnce(index->method);
  for (const IndexAssessment* index : indices)
    if (!index->judged()) sayOnce("无结论：" + index->reason);
  document.space(8);
}

TableCell sheetNumber(double value) {
  if (std::isnan(value)) return std::monostate{};
  return static_cast<float>(value);
}

TableCell sheetText(const std::string& value) {
  if (value.empty()) return std::monostate{};
  return value;
}

TableCell sheetWhole(long long value) { return value; }

TableCell sheetDateTime(std::int64_t epochSeconds) { return calendarOfEpochSeconds(epochSeconds); }

void appendStatistics(TableRow& row, const IndexAssessment& index) {
  for (const double value : {index.max, index.min, index.mean, index.p95}) row.push_back(sheetNumber(value));
}

void appendVerdict(TableRow& row, const IndexAssessment& index) {
  row.push_back(sheetNumber(index.passRate));
  row.push_back(std::string(verdictText(index.verdict)));
  row.push_back(sheetText(index.judged() ? std::string() : index.reason));
}

void addJsonNumber(JsonWriter& json, const char* key, double value) {
  json.key(key);
  if (std::isnan(value)) {
    json.null();
  } else {
    json.number(static_cast<float>(value));
  }
}

void addJsonVerdict(JsonWriter& json, const IndexAssessment& index) {
  json.key("verdict");
  if (index.judged()) {
    json.string(verdictText(index.verdict));
  } else {
    json.null().key("reason").string(index.reason);
  }
}

}  // namespace pq
