#pragma once

#include <string>
#include <vector>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentRun.h"
#include "export/TableCell.h"
#include "export/WorkbookFile.h"

namespace pq {

// One part of an assessment as a table of a workbook sheet: numbers as numbers (their units in the
// heading), verdicts as texts, times as date-times, and no cell where there is no value. Fractional
// numbers show two decimals unless `numberFormats` gives their column another format (TableWriter).
struct AssessmentTable {
  std::string sheet;
  std::vector<std::string> heading;
  std::vector<TableRow> rows;
  std::vector<std::string> numberFormats = {};
};

// The sheets "概况" (what was measured when, as the head of the pages says it), "电压偏差", "不平衡度",
// "频率偏差", "谐波", "电压事件", "SARFI" and "电能" of a result that was not refused.
std::vector<AssessmentTable> assessmentTables(const AssessmentResult& result,
                                              const AssessmentHeading& heading);

// The sheet "电压事件" of events (listedEvents), of the phase voltages or, for `lineVoltages`, of the
// line voltages.
AssessmentTable eventTable(const std::vector<VoltageEvent>& events, bool lineVoltages);

// What the sheet of that name holds, as the workbook's notes (export/NotesSheet) say it; empty for a
// sheet of no assessment.
std::string assessmentSheetHolds(const std::string& sheet);

// A sheet after the others in `book`.
void writeTable(const AssessmentTable& table, WorkbookFile& book);

// Writes the tables as a workbook, one sheet each after the notes "说明", through a temporary file (export/WorkbookFile):
// false, with the reason in `error`, when it cannot be written, and then nothing is left behind.
bool writeAssessmentWorkbook(const std::string& path, const AssessmentResult& result,
                             const AssessmentHeading& heading, std::string& error);

}  // namespace pq
