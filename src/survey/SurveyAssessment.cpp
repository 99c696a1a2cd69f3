#include "survey/SurveyAssessment.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "assessment/AssessmentMessages.h"
#include "records/InstrumentNumber.h"

namespace pq {

namespace {

// The 3-second intervals of the planned files if their records are a second apart: three records
// to an interval, and two broken intervals at the ends of each file.
std::int64_t threeSecondIntervalsAtOneSecond(const SurveyPlan& plan) {
  std::int64_t bound = 0;
  for (const PlannedFile& file : plan.files) {
    bound += std::min(file.frames(), file.frames() / kResolutionSeconds[0] + 2);
  }
  return bound;
}

bool keptTooFew(const NinetyFivePercentSink& sink, std::int64_t maxIntervals) {
  for (std::size_t k = 0; k < sink.judged().size(); ++k) {
    if (sink.summary(k).values > maxIntervals) return true;
  }
  return false;
}

int recordingIntervalOf(const Survey& survey) {
  for (const SurveyFile& file : survey.files) {
    if (file.intervalSeconds > 0) return file.intervalSeconds;
  }
  return 1;
}

}  // namespace

std::optional<AssessedSurvey> assessSurvey(const SurveyPlan& plan, SurveyListener& listener,
                                           const AssessmentLimits& limits, const std::string& limitSetName) {
  AssessedSurvey assessed;
  if (plan.files.empty()) {
    // Nothing to judge; the survey still says what became of each file.
    std::optional<Survey> survey = openSurvey(plan, listener);
    if (!survey) return std::nullopt;
    assessed.survey = std::move(*survey);
    assessed.result.refusal = messages::kNothingToAssess;
    return assessed;
  }
  // The plan read every file's head and first record: the first file's give the setup.
  const PlannedFile& first = plan.files.front();
  AssessmentSetup setup = assessmentSetupOf(first.head, first.wiringMode, limits, limitSetName);
  assessed.heading = assessmentHeadingOf(first.head);
  assessed.heading.instrument = instrumentNumberText(first.identity.instrumentId);
  assessed.heading.files.clear();
  for (const PlannedFile& file : plan.files)
    assessed.heading.files.push_back(std::filesystem::path(file.path).filename().string());
  // The survey goes on only when the operator accepted them.
  assessed.heading.mismatches = plan.mismatches;
  if (!(setup.supply.declared > 0) || !std::isfinite(setup.supply.declared)) {
    assessed.result.setup = setup;
    assessed.result.refusal = messages::kCannotAssessWithoutDeclaredVoltage;
    return assessed;
  }

  const std::vector<JudgedQuantity> judged = harmonicQuantities(setup.harmonicLimits);
  for (const std::int64_t maxIntervals : {threeSecondIntervalsAtOneSecond(plan), plan.recordBound()}) {
    auto threeSeconds = std::make_unique<NinetyFivePercentSink>(judged, maxIntervals);
    std::optional<Survey> survey;
    try {
      survey = openSurvey(plan, listener, threeSeconds.get());
    } catch (const std::invalid_argument&) {
      // A later file than the first declares no voltage where the first did: the survey starts its
      // pass with the file whose records come first in the time window.
      assessed.result.setup = setup;
      assessed.result.refusal = messages::kCannotAssessWithoutDeclaredVoltage;
      return assessed;
    }
    if (!survey) return std::nullopt;
    if (keptTooFew(*threeSeconds, maxIntervals) && maxIntervals < plan.recordBound()) continue;
    setup.recordSeconds = recordingIntervalOf(*survey);
    assessed.result = assessmentOf(survey->values, *threeSeconds, setup);
    assessed.survey = std::move(*survey);
    assessed.threeSeconds = std::move(threeSeconds);
    break;
  }
  return assessed;
}

AssessmentResult reassessSurvey(const AssessedSurvey& assessed, const AssessmentLimits& limits,
                                const std::string& limitSetName) {
  if (!assessed.threeSeconds) return assessed.result;
  AssessmentSetup setup = assessed.result.setup;
  setup.limits = limits;
  // The pass rates of the kept 3-second values were counted against the current limits of the first
  // exponents, so the method must name those.
  setup.limits.superpositionExponents = assessed.result.setup.limits.superpositionExponents;
  setup.limitSetName = limitSetName;
  return assessmentOf(assessed.survey.values, *assessed.threeSeconds, setup);
}

}  // namespace pq
