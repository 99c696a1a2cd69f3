#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "assessment/AssessmentTexts.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HeadingsOption.h"
#include "cli/OutputFile.h"
#include "cli/SurveyJson.h"
#include "records/RecordStore.h"
#include "survey/Survey.h"
#include "survey/SurveyMessages.h"
#include "survey/SurveyTables.h"

namespace pq::cli {

int runSurvey(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"json", "xlsx", "csv-minutes", "headers"});
  arguments.positional(0, "record file");
  const TableHeadings csvHeadings = headingsOption(arguments, TableHeadings::Identifiers);
  const TableHeadings workbookHeadings = headingsOption(arguments, TableHeadings::Chinese);

  const SurveyPlan plan = planSurvey(arguments.positional());
  for (const auto& text : plan.leftOut) std::cerr << text << '\n';
  for (const auto& text : plan.mismatches) std::cerr << text << '\n';
  if (plan.files.empty()) {
    std::cerr << messages::kSurveyNoFiles << '\n';
    return kExitRefused;
  }

  QuietSurveyListener progress;
  std::optional<Survey> survey;
  try {
    survey = openSurvey(plan, progress);
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
  if (const auto path = arguments.text("json")) written = writeOutputFile(*path, surveyJson(*survey, plan.mismatches, plan.leftOut)) && written;
  const auto tried = [&](const std::string& path, bool ok, const std::string& error) {
    if (!ok) std::cerr << path << ": " << error << '\n';
    written = ok && written;
  };
  std::string error;
  if (const auto path = arguments.text("csv-minutes"))
    tried(*path, writeSurveyValues(*path, *survey, Resolution::OneMinute, csvHeadings, error), error);
  if (const auto path = arguments.text("xlsx"))
    tried(*path, writeSurveyWorkbook(*path, *survey, workbookHeadings, error), error);
  if (!written) return kExitRefused;
  return survey->files.empty() ? kExitRefused : kExitDone;
}

}  // namespace pq::cli
