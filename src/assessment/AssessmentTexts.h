#pragma once

#include <cstdint>
#include <string>

#include "assessment/AssessmentRun.h"

namespace pq {

// Texts of an assessment result as the command line, the page and the workbook show them.
std::string epochTimeText(std::int64_t seconds);   // "YYYY-MM-DD HH:MM:SS"
const char* eventKindText(VoltageEventKind kind);  // "dip", "swell", "interruption"
const char* eventKindName(VoltageEventKind kind);  // "电压暂降", "电压暂升", "短时中断"
// The phases that crossed the threshold, "A C" (four-wire) or "AB CA" (three-wire).
std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages);
int eventDurationSeconds(const VoltageEvent& event, const AssessmentSetup& setup);

}  // namespace pq
