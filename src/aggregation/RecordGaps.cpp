#include "aggregation/RecordGaps.h"

#include <algorithm>
#include <map>


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

}  // namespace pq
