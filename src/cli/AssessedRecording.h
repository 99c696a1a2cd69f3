#pragma once

#include <optional>
#include <string>

#include "assessment/AssessmentRun.h"
#include "cli/CommandLine.h"

namespace pq::cli {

// What `assess` and `events` share: the options they both take, the import of the record file, the
// range of --from/--to, the limit set (--limits over the shipped default; its messages on stderr)
// and the assessment. Only one file for now: several, to be taken as one survey, are a usage error.
// Nothing, after printing why on stderr, when the file cannot be imported or nothing can be assessed.
inline constexpr const char* kAssessmentOptions[] = {"from", "to", "limits"};
std::optional<AssessmentResult> assessRecordFile(const Arguments& arguments);

// Texts of a result as both commands print them.
std::string epochTimeText(std::int64_t seconds);   // "YYYY-MM-DD HH:MM:SS"
const char* eventKindText(VoltageEventKind kind);  // "dip", "swell", "interruption"
// The phases that crossed the threshold, "A C" (four-wire) or "AB CA" (three-wire).
std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages);
int eventDurationSeconds(const VoltageEvent& event, const AssessmentSetup& setup);

}  // namespace pq::cli
