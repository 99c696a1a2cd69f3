#pragma once

#include <cstdint>
#include <string>

#include "aggregation/RecordGaps.h"
#include "aggregation/RecordTimeGate.h"
#include "assessment/AssessmentRun.h"

namespace pq {

// Texts of an assessment result as the command line, the page and the workbook show them.
const char* eventKindText(VoltageEventKind kind);  // "dip", "swell", "interruption"
const char* eventKindName(VoltageEventKind kind);  // "电压暂降", "电压暂升", "短时中断"
// The phases that crossed the threshold, "A C" (four-wire) or "AB CA" (three-wire).
std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages);
int eventDurationSeconds(const VoltageEvent& event, int recordSeconds);
// "2010-04-20 00:00:00 – 00:15:00 无数据": the end without its date when it is the same day.
std::string gapText(const RecordGap& gap);

}  // namespace pq
