#include "assessment/VoltageEvents.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "assessment/AssessmentMessages.h"
#include "records/RecordStore.h"

namespace pq {

namespace {

constexpr double kDipThreshold = 0.90;
constexpr double kSwellThreshold = 1.10;
constexpr double kInterruptionThreshold = 0.10;
constexpr double kHysteresis = 0.02;

constexpr int kMinCells[3] = {cells::uaMin, cells::ubMin, cells::ucMin};
constexpr int kMaxCells[3] = {cells::uaMax, cells::ubMax, cells::ucMax};

}  // namespace

SarfiCounts sarfiCounts(std::span<const VoltageEvent> events) {
  SarfiCounts counts;
  for (const VoltageEvent& e : events) {
    if (e.kind == VoltageEventKind::Swell) continue;
    counts.sarfi90 += e.extremePercent < 90 ? 1 : 0;
    counts.sarfi70 += e.extremePercent < 70 ? 1 : 0;
    counts.sarfi50 += e.extremePercent < 50 ? 1 : 0;
    counts.sarfi10 += e.extremePercent < 10 ? 1 : 0;
  }
  return counts;
}

VoltageEventDetector::VoltageEventDetector(double declaredVoltage) : declared_(declaredVoltage) {
  if (!(declaredVoltage > 0) || !std::isfinite(declaredVoltage)) {
    throw std::invalid_argument(messages::kNoDeclaredVoltage);
  }
}

void VoltageEventDetector::close(Side& side, bool unfinished) {
  if (!side.open) return;
  side.event.extremePercent = side.event.extreme / declared_ * 100;
  side.event.unfinished = unfinished;
  // A dip and a swell close apart; the list stays in the order of their starts.
  const auto later =
      std::upper_bound(events_.begin(), events_.end(), side.event.start,
                       [](std::int64_t start, const VoltageEvent& e) { return start < e.start; });
  events_.insert(later, side.event);
  side.open = false;
}

bool VoltageEventDetector::addDip(const std::array<float, 3>& minima, std::int64_t seconds) {
  const double start = declared_ * kDipThreshold;
  const double end = declared_ * (kDipThreshold + kHysteresis);
  const bool crosses = std::any_of(minima.begin(), minima.end(), [&](float u) { return u < start; });
  if (!dip_.open) {
    if (!crosses) return false;
    dip_.open = true;
    dip_.event = {
        VoltageEventKind::Dip, seconds, seconds, 0, {}, std::numeric_limits<double>::infinity(), 0, false};
  } else if (std::none_of(minima.begin(), minima.end(), [&](float u) { return u < end; })) {
    close(dip_, false);
    return false;
  }
  VoltageEvent& e = dip_.event;
  e.lastRecord = seconds;
  ++e.records;
  bool everyPhaseOut = true;
  for (int phase = 0; phase < 3; ++phase) {
    const double u = minima[phase];
    if (u < start) e.phases[phase] = true;
    if (u < e.extreme) e.extreme = u;
    everyPhaseOut = everyPhaseOut && u < declared_ * kInterruptionThreshold;
  }
  if (everyPhaseOut) e.kind = VoltageEventKind::Interruption;
  return true;
}

bool VoltageEventDetector::addSwell(const std::array<float, 3>& maxima, std::int64_t seconds) {
  const double start = declared_ * kSwellThreshold;
  const double end = declared_ * (kSwellThreshold - kHysteresis);
  const bool crosses = std::any_of(maxima.begin(), maxima.end(), [&](float u) { return u > start; });
  if (!swell_.open) {
    if (!crosses) return false;
    swell_.open = true;
    swell_.event = {
        VoltageEventKind::Swell, seconds, seconds, 0, {}, -std::numeric_limits<double>::infinity(), 0, false};
  } else if (std::none_of(maxima.begin(), maxima.end(), [&](float u) { return u > end; })) {
    close(swell_, false);
    return false;
  }
  VoltageEvent& e = swell_.event;
  e.lastRecord = seconds;
  ++e.records;
  for (int phase = 0; phase < 3; ++phase) {
    const double u = maxima[phase];
    if (u > start) e.phases[phase] = true;
    if (u > e.extreme) e.extreme = u;
  }
  return true;
}

bool VoltageEventDetector::add(const RecordStore& store, int index, std::int64_t seconds) {
  std::array<float, 3> minima{};
  std::array<float, 3> maxima{};
  for (int phase = 0; phase < 3; ++phase) {
    minima[phase] = store.value(index, kMinCells[phase]);
    maxima[phase] = store.value(index, kMaxCells[phase]);
  }
  const bool inDip = addDip(minima, seconds);
  const bool inSwell = addSwell(maxima, seconds);
  return inDip || inSwell;
}

void VoltageEventDetector::finish() {
  close(dip_, true);
  close(swell_, true);
}

}  // namespace pq
