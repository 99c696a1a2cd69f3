#include "assessment/IndexSectionParts.h"

#include <cmath>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTexts.h"
#include "export/JsonWriter.h"
#include "pages/PageFlow.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

const std::vector<TableColumn> kIndexColumns = {{"指标", 150}, {"最大值", 66}, {"最小值", 66}, {"平均值", 66},
                                                {"95%值", 66},  {"限值", 100},  {"合格率%", 66}, {"结论", 56}};

}  // namespace

void addIndexTable(PageFlow& flow, const std::vector<std::vector<std::string>>& rows) {
  flow.table(kIndexColumns, rows);
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

void addIndexNotes(PageFlow& flow, const std::vector<const IndexAssessment*>& indices) {
  std::vector<std::string> said;
  auto sayOnce = [&](const std::string& text) {
    if (text.empty()) return;
    for (const std::string& s : said)
      if (s == text) return;
    said.push_back(text);
    flow.paragraph(text);
  };
  for (const IndexAssessment* index : indices) sayOnce(index->method);
  for (const IndexAssessment* index : indices)
    if (!index->judged()) sayOnce("无结论：" + index->reason);
  flow.space(8);
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
