#include "survey/SurveyTables.h"

#include <algorithm>

#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "base/TextCodec.h"
#include "export/NotesSheet.h"
#include "export/RecordNotes.h"
#include "export/RecordTable.h"
#include "export/TableFile.h"
#include "export/WorkbookFile.h"

namespace pq {

namespace {

constexpr char kGapSheet[] = "数据缺口";

const char* sheetName(Resolution resolution) {
  return resolution == Resolution::OneMinute ? "1分钟值" : "10分钟值";
}

const char* intervalName(Resolution resolution) { return resolution == Resolution::OneMinute ? "1分钟" : "10分钟"; }

const AggregatedSeries& seriesOf(const Survey& survey, Resolution resolution) {
  return survey.values.series[static_cast<int>(resolution)];
}

// The units of the survey's values: those of its first file.
RecordHead unitsOf(const Survey& survey) {
  RecordHead head;
  head.ptRatio = survey.identity.ptRatio;
  return head;
}

WorkbookNotes surveyNotes(const Survey& survey, const AssessmentTable& events) {
  WorkbookNotes notes;
  notes.station = gbkToUtf8(survey.identity.substationName);
  notes.point = gbkToUtf8(survey.identity.measuringPointName);
  std::optional<std::int64_t> first, last;
  std::vector<int> intervals;
  for (const SurveyFile& file : survey.files) {
    if (file.first && !first) first = file.first;
    if (file.last) last = std::max(last.value_or(*file.last), *file.last);
    if (file.intervalSeconds > 0 && std::find(intervals.begin(), intervals.end(), file.intervalSeconds) == intervals.end())
      intervals.push_back(file.intervalSeconds);
    notes.files.push_back(file.path);
  }
  if (first && last) notes.period = periodText(epochTimeText(*first), epochTimeText(*last));
  std::sort(intervals.begin(), intervals.end());
  notes.recordInterval = recordIntervalsText(intervals);
  for (const Resolution resolution : {Resolution::OneMinute, Resolution::TenMinutes})
    notes.sheets.push_back({sheetName(resolution), aggregatedSheetHolds(intervalName(resolution))});
  notes.sheets.push_back({events.sheet, assessmentSheetHolds(events.sheet)});
  notes.sheets.push_back({kGapSheet, "记录时间中超过记录间隔的空缺，每个一行：无数据起止时间"});
  return notes;
}

}  // namespace

bool writeSurveyValues(const std::string& path, const Survey& survey, Resolution resolution, TableHeadings headings,
                       std::string& error) {
  TableFile file(path);
  if (file.open()) {
    writeAggregatedTable(seriesOf(survey, resolution), unitsOf(survey), file.table(sheetName(resolution)), headings,
                         {});
    if (file.commit()) return true;
  }
  error = file.error();
  return false;
}

bool writeSurveyWorkbook(const std::string& path, const Survey& survey, TableHeadings headings, std::string& error) {
  WorkbookFile book(path);
  if (book.open()) {
    const AssessmentTable events =
        eventTable(listedEvents(survey.values.events, survey.values.sustained), survey.wiringMode != 1);
    addNotesSheet(book, surveyNotes(survey, events));
    for (const Resolution resolution : {Resolution::OneMinute, Resolution::TenMinutes})
      writeAggregatedTable(seriesOf(survey, resolution), unitsOf(survey), book.addSheet(sheetName(resolution)),
                           headings, {});
    writeTable(events, book);
    TableWriter& gaps = book.addSheet(kGapSheet);
    gaps.heading({"无数据起", "无数据止"});
    for (const RecordGap& gap : survey.gaps)
      gaps.row({calendarOfEpochSeconds(gap.from), calendarOfEpochSeconds(gap.to)});
    if (book.commit()) return true;
  }
  error = book.error();
  return false;
}

}  // namespace pq
