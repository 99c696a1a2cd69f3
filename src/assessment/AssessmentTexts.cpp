#include "assessment/AssessmentTexts.h"


#include "aggregation/RecordTimeGate.h"
#include "assessment/AssessmentMessages.h"

namespace pq {


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

int eventDurationSeconds(const VoltageEvent& event, int recordSeconds) {
  return event.records * recordSeconds;
}

std::string gapText(const RecordGap& gap) {
  const std::string from = epochTimeText(gap.from);
  std::string to = epochTimeText(gap.to);
  if (from.compare(0, 10, to, 0, 10) == 0) to.erase(0, 11);
  return from + " – " + to + " " + messages::kNoData;
}

}  // namespace pq
