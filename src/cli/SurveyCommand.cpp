#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "assessment/AssessmentTexts.h"
#include "base/AtomicFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "export/RecordTable.h"
#include "export/TableFile.h"
#include "export/WorkbookFile.h"
#include "records/RecordStore.h"
#include "survey/Survey.h"
#include "survey/SurveyMessages.h"

namespace pq::cli {

namespace {

void time(JsonWriter& json, const std::optional<std::int64_t>& seconds) {
  if (seconds) {
    json.string(epochTimeText(*seconds));
  } else {
    json.null();
  }
}

std::string surveyJson(const Survey& survey, const SurveyPlan& plan) {
  JsonWriter json;
  json.beginObject().key("files").beginArray();
  for (const auto& file : survey.files) {
    json.beginObject().key("path").string(file.path).key("first");
    time(json, file.first);
    json.key("last");
    time(json, file.last);
    json.key("records").integer(file.records).key("skipped").integer(file.skipped).endObject();
  }
  json.endArray().key("gaps").beginArray();
  for (const auto& gap : survey.gaps) {
    json.beginObject()
        .key("from")
        .string(epochTimeText(gap.from))
        .key("to")
        .string(epochTimeText(gap.to))
        .endObject();
  }
  json.endArray().key("mismatches").beginArray();
  for (const auto& text : plan.mismatches) json.string(text);
  json.endArray().key("overlaps").beginArray();
  for (const auto& file : survey.files) {
    if (file.overlapping > 0)
      json.beginObject().key("path").string(file.path).key("records").integer(file.overlapping).endObject();
  }
  // What the survey left out or could read only in part, in the words stderr shows them.
  json.endArray().key("notes").beginArray();
  for (const auto& text : plan.leftOut) json.string(text);
  for (const auto& text : survey.leftOut) json.string(text);
  for (const auto& file : survey.files) {
    for (const auto& text : file.damage) json.string(text);
  }
  json.endArray().endObject();
  return json.text() + '\n';
}

// The table of the 1-minute values, as CSV with a byte-order mark (or a workbook for a name ending in .xlsx).
bool writeMinutes(const std::string& path, const Survey& survey) {
  TableFile file(path);
  if (file.open()) {
    writeAggregatedTable(survey.values.series[static_cast<int>(Resolution::OneMinute)], file.table("1分钟值"), {});
    if (file.commit()) return true;
  }
  std::cerr << path << ": " << file.error() << '\n';
  return false;
}

// The 1-minute and 10-minute values, the voltage events and the gaps, a sheet each.
bool writeWorkbook(const std::string& path, const Survey& survey) {
  WorkbookFile book(path);
  if (book.open()) {
    const auto& series = survey.values.series;
    writeAggregatedTable(series[static_cast<int>(Resolution::OneMinute)], book.addSheet("1分钟值"), {});
    writeAggregatedTable(series[static_cast<int>(Resolution::TenMinutes)], book.addSheet("10分钟值"), {});
    TableWriter& events = book.addSheet("电压事件");
    events.heading({"类型", "开始时间", "持续时间 s", "相别", "残余电压/峰值 %"});
    const int interval = survey.files.empty() ? 1 : std::max(1, survey.files.front().intervalSeconds);
    for (const VoltageEvent& e : survey.values.events) {
      events.row({std::string(eventKindName(e.kind)), calendarOfEpochSeconds(e.start),
                  static_cast<long long>(e.records) * interval, eventPhasesText(e, survey.wiringMode != 1),
                  e.extremePercent});
    }
    TableWriter& gaps = book.addSheet("数据缺口");
    gaps.heading({"无数据起", "无数据止"});
    for (const RecordGap& gap : survey.gaps) gaps.row({calendarOfEpochSeconds(gap.from), calendarOfEpochSeconds(gap.to)});
    if (book.commit()) return true;
  }
  std::cerr << path << ": " << book.error() << '\n';
  return false;
}

bool writeJson(const std::string& path, const std::string& content) {
  AtomicFile file(path);
  if (file.open() && file.write(content.data(), content.size()) && file.commit()) return true;
  std::cerr << path << ": " << file.error() << '\n';
  return false;
}

}  // namespace

int runSurvey(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"json", "xlsx", "csv-minutes"});
  arguments.positional(0, "record file");

  RecordStore store;
  const SurveyPlan plan = planSurvey(arguments.positional(), store);
  for (const auto& text : plan.leftOut) std::cerr << text << '\n';
  for (const auto& text : plan.mismatches) std::cerr << text << '\n';
  if (plan.files.empty()) {
    std::cerr << messages::kSurveyNoFiles << '\n';
    return kExitRefused;
  }

  QuietSurveyListener progress;
  std::optional<Survey> survey;
  try {
    survey = openSurvey(plan, store, progress);
  } catch (const std::invalid_argument& e) {
    std::cerr << e.what() << '\n';
    return kExitRefused;
  }
  for (const auto& text : survey->leftOut) std::cerr << text << '\n';
  for (const auto& file : survey->files) {
    for (const auto& text : file.damage) std::cerr << text << '\n';
    std::cout << file.path << '\t' << (file.first ? epochTimeText(*file.first) : "-") << '\t'
              << (file.last ? epochTimeText(*file.last) : "-") << '\t' << file.records << '\t' << file.skipped
              << '\n';
  }
  for (const auto& gap : survey->gaps) std::cout << gapText(gap) << '\n';
  std::cout.flush();

  // Every output is tried; any that fails makes the exit code say so.
  bool written = true;
  if (const auto path = arguments.text("json")) written = writeJson(*path, surveyJson(*survey, plan)) && written;
  if (const auto path = arguments.text("csv-minutes")) written = writeMinutes(*path, *survey) && written;
  if (const auto path = arguments.text("xlsx")) written = writeWorkbook(*path, *survey) && written;
  if (!written) return kExitRefused;
  return survey->files.empty() ? kExitRefused : kExitDone;
}

}  // namespace pq::cli
