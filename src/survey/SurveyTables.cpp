#include "survey/SurveyTables.h"

#include <algorithm>

#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "export/RecordTable.h"
#include "export/TableFile.h"
#include "export/WorkbookFile.h"

namespace pq {

namespace {

const char* sheetName(Resolution resolution) {
  return resolution == Resolution::OneMinute ? "1分钟值" : "10分钟值";
}

const AggregatedSeries& seriesOf(const Survey& survey, Resolution resolution) {
  return survey.values.series[static_cast<int>(resolution)];
}

}  // namespace

bool writeSurveyValues(const std::string& path, const Survey& survey, Resolution resolution, std::string& error) {
  TableFile file(path);
  if (file.open()) {
    writeAggregatedTable(seriesOf(survey, resolution), file.table(sheetName(resolution)), {});
    if (file.commit()) return true;
  }
  error = file.error();
  return false;
}

bool writeSurveyWorkbook(const std::string& path, const Survey& survey, std::string& error) {
  WorkbookFile book(path);
  if (book.open()) {
    for (const Resolution resolution : {Resolution::OneMinute, Resolution::TenMinutes})
      writeAggregatedTable(seriesOf(survey, resolution), book.addSheet(sheetName(resolution)), {});
    writeTable(eventTable(listedEvents(survey.values.events, survey.values.sustained), survey.wiringMode != 1), book);
    TableWriter& gaps = book.addSheet("数据缺口");
    gaps.heading({"无数据起", "无数据止"});
    for (const RecordGap& gap : survey.gaps)
      gaps.row({calendarOfEpochSeconds(gap.from), calendarOfEpochSeconds(gap.to)});
    if (book.commit()) return true;
  }
  error = book.error();
  return false;
}

}  // namespace pq
