#include "assessment/AssessmentTexts.h"

#include <algorithm>
#include <iterator>

#include "assessment/AssessmentMessages.h"
#include "timerange/EpochSeconds.h"

namespace pq {


const char* eventKindName(VoltageEventKind kind) {
  switch (kind) {
    case VoltageEventKind::Dip:
      return "电压暂降";
    case VoltageEventKind::Swell:
      return "电压暂升";
    case VoltageEventKind::Interruption:
      return "短时中断";
    case VoltageEventKind::Undervoltage:
      return "持续低电压";
    case VoltageEventKind::Overvoltage:
      return "持续过电压";
    case VoltageEventKind::LongInterruption:
      break;
  }
  return "长时中断";
}

const char* eventKindText(VoltageEventKind kind) {
  switch (kind) {
    case VoltageEventKind::Dip:
      return "dip";
    case VoltageEventKind::Swell:
      return "swell";
    case VoltageEventKind::Interruption:
      return "interruption";
    case VoltageEventKind::Undervoltage:
      return "undervoltage";
    case VoltageEventKind::Overvoltage:
      return "overvoltage";
    case VoltageEventKind::LongInterruption:
      break;
  }
  return "longInterruption";
}

std::vector<VoltageEvent> listedEvents(const std::vector<VoltageEvent>& events,
                                       const std::vector<VoltageEvent>& sustained) {
  std::vector<VoltageEvent> all;
  all.reserve(events.size() + sustained.size());
  std::merge(events.begin(), events.end(), sustained.begin(), sustained.end(),
             std::back_inserter(all), [](const VoltageEvent& a, const VoltageEvent& b) { return a.start < b.start; });
  return all;
}

const char* phaseLabel(int phase, bool lineVoltages) {
  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  return lineVoltages ? kLines[phase] : kPhases[phase];
}

std::string eventPhasesText(const VoltageEvent& event, bool lineVoltages) {
  std::string text;
  for (int phase = 0; phase < 3; ++phase) {
    if (!event.phases[phase]) continue;
    if (!text.empty()) text += ' ';
    text += phaseLabel(phase, lineVoltages);
  }
  return text;
}

std::string recordIntervalsText(const std::vector<int>& intervals) {
  std::string text;
  for (const int interval : intervals) {
    if (!text.empty()) text += "、";
    text += std::to_string(interval) + " s";
  }
  return text.empty() ? "-" : text;
}

std::string eventDurationText(const VoltageEvent& event) {
  return std::to_string(event.durationSeconds) + " s (±" + std::to_string(event.intervalSeconds) + " s)";
}

std::string gapText(const RecordGap& gap) {
  const std::string from = epochTimeText(gap.from);
  std::string to = epochTimeText(gap.to);
  if (from.compare(0, 10, to, 0, 10) == 0) to.erase(0, 11);
  return from + " – " + to + " " + messages::kNoData;
}

}  // namespace pq
