#include "assessment/AssessmentTables.h"

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/IndexSectionParts.h"
#include "export/WorkbookFile.h"

namespace pq {

namespace {

AssessmentTable overviewTable(const AssessmentResult& result, const AssessmentHeading& heading) {
  const auto item = [](const char* name, TableCell value) {
    return TableRow{std::string(name), std::move(value)};
  };
  return {"概况",
          {"项目", "内容"},
          {item("变（配）电所名称", sheetText(heading.station)), item("测点名称", sheetText(heading.point)),
           item("电压等级", sheetText(heading.level)), item("开始时间", sheetDateTime(result.span.first)),
           item("结束时间", sheetDateTime(result.span.last)), item("记录条数", sheetWhole(result.span.records)),
           item("记录间隔", sheetText(recordIntervalsText(result.recordIntervals))),
           item("数据缺口", sheetWhole(static_cast<long long>(result.span.gaps.size()))),
           item("时间重复的记录", sheetWhole(result.duplicates)), item("时间倒序的记录", sheetWhole(result.outOfOrder)),
           item("时间无效的记录", sheetWhole(result.undatable)), item("限值", sheetText(result.setup.limitSetName))}};
}

}  // namespace

void writeTable(const AssessmentTable& table, WorkbookFile& book) {
  TableWriter& sheet = book.addSheet(table.sheet);
  sheet.heading(table.heading);
  for (const TableRow& row : table.rows) sheet.row(row);
}

std::vector<AssessmentTable> assessmentTables(const AssessmentResult& result,
                                              const AssessmentHeading& heading) {
  std::vector<AssessmentTable> tables{overviewTable(result, heading)};
  for (const AssessmentIndexSection* section : assessmentIndexSections()) section->addSheets(result, tables);
  return tables;
}

bool writeAssessmentWorkbook(const std::string& path, const AssessmentResult& result,
                             const AssessmentHeading& heading, std::string& error) {
  WorkbookFile book(path);
  if (book.open()) {
    for (const AssessmentTable& table : assessmentTables(result, heading)) writeTable(table, book);
    if (book.commit()) return true;
  }
  error = book.error();
  return false;
}

}  // namespace pq
