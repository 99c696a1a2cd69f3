#include "survey/RecordGaps.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "aggregation/RecordTimeGate.h"
#include "survey/SurveyMessages.h"

namespace pq {

std::optional<int> recordingInterval(std::span<const std::int64_t> times) {
  if (times.size() < 2) return std::nullopt;
  std::map<std::int64_t, std::size_t> steps;
  for (std::size_t i = 1; i < times.size(); ++i) ++steps[times[i] - times[i - 1]];
  // The map runs from the shortest step, so the first of the most common ones is the shortest.
  const auto most = std::max_element(steps.begin(), steps.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  return static_cast<int>(most->first);
}

std::optional<RecordGap> gapBetween(std::int64_t before, std::int64_t after, int intervalSeconds) {
  const std::int64_t tolerance = std::max(1, intervalSeconds / 2);
  if (after - before <= intervalSeconds + tolerance) return std::nullopt;
  const std::int64_t from = before + intervalSeconds;
  // A record late by less than an interval leaves only its own time without data.
  return RecordGap{from, std::max(from, after - intervalSeconds)};
}

std::string epochTimeText(std::int64_t seconds) {
  const CalendarDateTime t = calendarOfEpochSeconds(seconds);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string gapText(const RecordGap& gap) {
  const std::string from = epochTimeText(gap.from);
  std::string to = epochTimeText(gap.to);
  if (from.compare(0, 10, to, 0, 10) == 0) to.erase(0, 11);
  return from + " – " + to + " " + messages::kSurveyNoData;
}

}  // namespace pq
