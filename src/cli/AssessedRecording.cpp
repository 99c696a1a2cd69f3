#include "cli/AssessedRecording.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "assessment/LimitSet.h"
#include "cli/ImportToConsole.h"
#include "records/RecordStore.h"
#include "survey/SurveyAssessment.h"
#include "survey/SurveyMessages.h"

namespace pq::cli {

namespace {

std::optional<AssessedRecording> assessRecordFile(const std::string& path, const std::optional<std::int64_t>& from,
                                                  const std::optional<std::int64_t>& to, const LimitSet& limits) {
  const auto store = std::make_unique<RecordStore>();
  if (importToConsole(*store, path) != ImportResult::Completed) return std::nullopt;
  const std::span<const MeasurementRecord> records = store->records();
  AssessmentResult result =
      runAssessment(*store, records, {from, to}, assessmentSetupOf(*store, records, records, limits.limits, limits.name));
  if (!result.refusal.empty()) {
    std::cerr << result.refusal << '\n';
    return std::nullopt;
  }
  return AssessedRecording{std::move(result), assessmentHeadingOf(*store)};
}

// Several files, taken as one survey; what it leaves out or reads only in part goes to stderr.
std::optional<AssessedRecording> assessSurveyFiles(const std::vector<std::string>& paths,
                                                   const std::optional<std::int64_t>& from,
                                                   const std::optional<std::int64_t>& to, const LimitSet& limits) {
  SurveyPlan plan = planSurvey(paths);
  for (const auto& text : plan.leftOut) std::cerr << text << '\n';
  for (const auto& text : plan.mismatches) std::cerr << text << '\n';
  if (plan.files.empty()) {
    std::cerr << messages::kSurveyNoFiles << '\n';
    return std::nullopt;
  }
  plan.from = from;
  plan.to = to;
  QuietSurveyListener progress;
  std::optional<AssessedSurvey> assessed = assessSurvey(plan, progress, limits.limits, limits.name);
  if (!assessed) return std::nullopt;
  for (const auto& text : assessed->survey.leftOut) std::cerr << text << '\n';
  for (const auto& file : assessed->survey.files) {
    for (const auto& text : file.damage) std::cerr << text << '\n';
  }
  if (!assessed->result.refusal.empty()) {
    std::cerr << assessed->result.refusal << '\n';
    return std::nullopt;
  }
  return AssessedRecording{std::move(assessed->result), std::move(assessed->heading)};
}

}  // namespace

std::optional<AssessedRecording> assessRecordFiles(const Arguments& arguments) {
  arguments.positional(0, "record file");
  const auto from = timeOption(arguments, "from");
  const auto to = timeOption(arguments, "to");

  std::optional<std::filesystem::path> userCopy;
  if (const auto limits = arguments.text("limits")) userCopy = *limits;
  const LoadedLimitSet limits = loadLimitSet(defaultLimitSetFile(), userCopy);
  for (const std::string& message : limits.messages) std::cerr << message << '\n';
  if (!limits.refusal.empty()) return std::nullopt;

  const std::vector<std::string>& paths = arguments.positional();
  // A folder stands for its record files, as in `survey`, even when it is the only argument.
  std::error_code error;
  if (paths.size() > 1 || std::filesystem::is_directory(paths.front(), error))
    return assessSurveyFiles(paths, from, to, limits.set);
  return assessRecordFile(paths.front(), from, to, limits.set);
}

}  // namespace pq::cli
