#pragma once

#include <string>

#include "assessment/AssessmentRun.h"

namespace pq::cli {

// The assessment as the JSON object of `assess --json`. Values that do not exist (a 95 % value of
// fewer than 20 values, a limit of an index without one, the statistics of no values) are null; an
// index without a verdict has `verdict` null and its `reason`.
std::string assessmentJson(const AssessmentResult& result);

}  // namespace pq::cli
