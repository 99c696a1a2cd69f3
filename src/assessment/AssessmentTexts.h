#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aggregation/RecordGaps.h"
#include "assessment/AssessmentRun.h"
#include "timerange/EpochSeconds.h"

namespace pq {

// Texts of an assessment result as the command line, the page and the workbook show them.
// "dip", "swell", "interruption", "undervoltage", "overvoltage", "longInterruption"
const char* eventKindText(VoltageEventKind kind);
// "电压暂降", "电压暂升", "短时中断", "持续低电压", "持续过电压", "长时中断"
const char* eventKindName(VoltageEventKind kind);
// The short and the sustained events together, in the order of their starts: the event list.
std::vector<VoltageEvent> listedEvents(const std::vector<VoltageEvent>& events,
                                       const std::vector<VoltageEvent>& sustained);
inline std::vector<VoltageEvent> listedEvents(const AssessmentResult& result) {
  return listedEvents(result.events, result.sustained);
}
// The label of phase 0..2: "A", "B", "C", or the line voltages "AB", "BC", "CA" of a three-wire supply
// (SupplyVoltage::lineVoltages), wherever a phase is named.
const char* phaseLabel(int phase, bool lineVoltages);
// The phases that crossed the threshold, "A C" (four-wire) or "AB CA" (three-wire).
std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages);
// "1 s" or "1 s、60 s": every recording interval of the files assessed.
std::string recordIntervalsText(const std::vector<int>& intervals);
// "3000 s (±1 s)": the duration and its uncertainty of one recording interval.
std::string eventDurationText(const VoltageEvent& event);
// "2010-04-20 00:00:00 – 00:15:00 无数据": the end without its date when it is the same day.
std::string gapText(const RecordGap& gap);

}  // namespace pq
