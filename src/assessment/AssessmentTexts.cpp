#include "assessment/AssessmentTexts.h"

#include <cstdio>

#include "aggregation/RecordTimeGate.h"

namespace pq {

std::string epochTimeText(std::int64_t seconds) {
  const CalendarDateTime t = calendarOfEpochSeconds(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

const char* eventKindName(VoltageEventKind kind) {
  switch (kind) {
    case VoltageEventKind::Dip:
      return "电压暂降";
    case VoltageEventKind::Swell:
      return "电压暂升";
    case VoltageEventKind::Interruption:
      break;
  }
  return "短时中断";
}

const char* eventKindText(VoltageEventKind kind) {
  switch (kind) {
    case VoltageEventKind::Dip:
      return "dip";
    case VoltageEventKind::Swell:
      return "swell";
    case VoltageEventKind::Interruption:
      break;
  }
  return "interruption";
}

std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages) {
  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  std::string text;
  for (int phase = 0; phase < 3; ++phase) {
    if (!event.phases[phase]) continue;
    if (!text.empty()) text += ' ';
    text += lineVoltages ? kLines[phase] : kPhases[phase];
  }
  return text;
}

int eventDurationSeconds(const VoltageEvent& event, const AssessmentSetup& setup) {
  return event.records * setup.recordSeconds;
}

}  // namespace pq
