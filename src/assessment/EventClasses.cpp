#include "assessment/EventClasses.h"

#include <cmath>

namespace pq {

namespace {

constexpr double kShortestSeconds = 0.01;

std::string secondsText(double seconds) {
  if (seconds < 1) return std::to_string(static_cast<int>(std::lround(seconds * 1000))) + " ms";
  return std::to_string(static_cast<int>(std::lround(seconds))) + " s";
}

}  // namespace

EventClassTable eventClassTable(std::span<const VoltageEvent> events, int recordSeconds) {
  EventClassTable table;
  table.swellBands = {{"u≥120", 120, 1e9}, {"120>u>110", 110, 120}};
  table.dipBands = {{"90>u≥80", 80, 90}, {"80>u≥70", 70, 80}, {"70>u≥40", 40, 70}, {"40>u≥10", 10, 40}, {"10>u", -1e9, 10}};

  // A class that ends below the interval joins the next; the column keeps the start of its first.
  const auto rangeText = [](double from, double to) {
    return secondsText(from) + (from == kShortestSeconds ? "≤t≤" : "<t≤") + secondsText(to);
  };
  const double longest = kEventDurationBounds[std::size(kEventDurationBounds) - 1];
  double classStart = kShortestSeconds;
  double columnStart = kShortestSeconds;
  std::vector<std::string> merged;
  for (const double upper : kEventDurationBounds) {
    merged.push_back(rangeText(classStart, upper));
    classStart = upper;
    if (upper < recordSeconds && upper != longest) continue;
    table.columns.push_back({rangeText(columnStart, upper), upper});
    if (merged.size() > 1) {
      table.mergeNote += "记录间隔" + std::to_string(recordSeconds) + " s，分辨不出其中的持续时间：";
      for (std::size_t i = 0; i < merged.size(); ++i) table.mergeNote += (i > 0 ? "、" : "") + merged[i];
      table.mergeNote += "合为" + table.columns.back().title + "一栏。";
    }
    merged.clear();
    columnStart = upper;
  }

  const std::size_t bands = table.swellBands.size() + table.dipBands.size();
  table.counts.assign(bands, std::vector<int>(table.columns.size(), 0));
  for (const VoltageEvent& e : events) {
    if (!isShortEvent(e.kind)) continue;
    std::size_t column = 0;
    while (column + 1 < table.columns.size() && e.durationSeconds > table.columns[column].upperSeconds) ++column;
    const double u = e.extremePercent;
    if (e.kind == VoltageEventKind::Swell) {
      ++table.counts[u >= table.swellBands[0].low ? 0 : 1][column];
    } else {
      for (std::size_t b = 0; b < table.dipBands.size(); ++b) {
        if (u >= table.dipBands[b].low || b + 1 == table.dipBands.size()) {
          ++table.counts[table.swellBands.size() + b][column];
          break;
        }
      }
    }
  }
  return table;
}

}  // namespace pq
