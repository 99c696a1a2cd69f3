#pragma once

#include <memory>
#include <optional>
#include <string>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentRun.h"
#include "survey/Survey.h"

namespace pq {

// The power-quality assessment of a whole survey, with the survey it read and what another limit set
// needs to judge it again without reading the files.
struct AssessedSurvey {
  AssessmentResult result;    // its refusal says why nothing was judged
  AssessmentHeading heading;  // of the first file, as the survey's identity is
  Survey survey;
  std::unique_ptr<NinetyFivePercentSink> threeSeconds;  // nothing when refused
};

// Opens the planned files as one survey (the plan's time window bounds the records assessed) and
// assesses it as runAssessment assesses one file: the supply, the harmonic limits of the level and
// capacities come from the first planned file's head, the recording intervals from the files. The 95 %
// values keep only the largest twentieth of the 3-second values that a recording at one-second
// intervals can have; a recording at longer intervals has more values per record than that and is
// read a second time with room for one value per record, so that no 95 % value is ever cut short.
// Nothing when cancelled.
std::optional<AssessedSurvey> assessSurvey(const SurveyPlan& plan, SurveyListener& listener,
                                           const AssessmentLimits& limits, const std::string& limitSetName);

// The survey judged against other limits: the same values, the same recording interval and the
// same harmonic limits of its level and capacities, converted with the superposition exponents of the
// first assessment whatever `limits` holds. A refused assessment stays refused.
AssessmentResult reassessSurvey(const AssessedSurvey& assessed, const AssessmentLimits& limits,
                                const std::string& limitSetName);

}  // namespace pq
