#pragma once

#include <optional>
#include <string>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentRun.h"
#include "assessment/AssessmentTexts.h"
#include "cli/CommandLine.h"

namespace pq::cli {

// What `assess` and `events` share: the options they both take, the import of the record file, the
// range of --from/--to, the limit set (--limits over the shipped default; its messages on stderr)
// and the assessment, of one file or of several taken as one survey. Nothing, after printing why on
// stderr, when a file cannot be imported, no file of a survey can be read or nothing can be assessed.
inline constexpr const char* kAssessmentOptions[] = {"from", "to", "limits"};
struct AssessedRecording {
  AssessmentResult result;
  AssessmentHeading heading;  // who and what was measured, for the pages and the workbook
};
std::optional<AssessedRecording> assessRecordFiles(const Arguments& arguments);

}  // namespace pq::cli
