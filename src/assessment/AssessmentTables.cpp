#include "assessment/AssessmentTables.h"

#include "assessment/AssessmentIndices.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/IndexSectionParts.h"
#include "export/NotesSheet.h"
#include "export/WorkbookFile.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

// Percentages, voltages and energies as an engineer reads them; columns of finer values say so.
constexpr char kFractionFormat[] = "0.00";

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
  std::vector<std::string> formats = table.numberFormats;
  formats.resize(table.heading.size(), kFractionFormat);
  sheet.numberFormats(formats);
  sheet.heading(table.heading);
  for (const TableRow& row : table.rows) sheet.row(row);
}

std::vector<AssessmentTable> assessmentTables(const AssessmentResult& result,
                                              const AssessmentHeading& heading) {
  std::vector<AssessmentTable> tables{overviewTable(result, heading)};
  for (const AssessmentIndexSection* section : assessmentIndexSections()) section->addSheets(result, tables);
  return tables;
}

std::string assessmentSheetHolds(const std::string& sheet) {
  static const std::pair<const char*, const char*> kHolds[] = {
      {"概况", "变（配）电所、测点、电压等级、时段、记录条数与间隔、数据缺口、未计入的记录和所用限值"},
      {"电压偏差", "各相供电电压偏差的最大值、最小值、平均值、95%概率值、限值、超限分钟数、合格率与结论（GB/T 12325）"},
      {"不平衡度", "三相电压、电流负序不平衡度的统计值、限值与结论（GB/T 15543）"},
      {"频率偏差", "频率偏差的统计值、限值、无效频率记录数与结论（GB/T 15945）"},
      {"谐波", "各相谐波电压含有率、电压总谐波畸变率和谐波电流的统计值、限值与结论（GB/T 14549）"},
      {"电压事件", "电压暂降、暂升、短时中断（GB/T 30137）与超过60 s的持续电压事件，每个事件一行"},
      {"SARFI", "残余电压低于90%、70%、50%、10%标称值的事件次数"},
      {"电能", "有功、无功电能，加权平均功率因数，15分钟最大需量及其起始时间"},
  };
  for (const auto& [name, holds] : kHolds)
    if (sheet == name) return holds;
  return {};
}

namespace {

WorkbookNotes assessmentNotes(const AssessmentResult& result, const AssessmentHeading& heading,
                              const std::vector<AssessmentTable>& tables) {
  WorkbookNotes notes;
  notes.station = heading.station;
  notes.point = heading.point;
  if (result.span.records > 0)
    notes.period = periodText(epochTimeText(result.span.first), epochTimeText(result.span.last));
  notes.recordInterval = recordIntervalsText(result.recordIntervals);
  notes.files = heading.files;
  for (const AssessmentTable& table : tables) notes.sheets.push_back({table.sheet, assessmentSheetHolds(table.sheet)});
  return notes;
}

}  // namespace

bool writeAssessmentWorkbook(const std::string& path, const AssessmentResult& result,
                             const AssessmentHeading& heading, std::string& error) {
  WorkbookFile book(path);
  if (book.open()) {
    const std::vector<AssessmentTable> tables = assessmentTables(result, heading);
    addNotesSheet(book, assessmentNotes(result, heading, tables));
    for (const AssessmentTable& table : tables) writeTable(table, book);
    if (book.commit()) return true;
  }
  error = book.error();
  return false;
}

}  // namespace pq
