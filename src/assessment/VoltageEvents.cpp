#include "assessment/VoltageEvents.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "assessment/AssessmentMessages.h"
#include "records/MeasurementRecord.h"

namespace pq {

namespace {

constexpr double kDipThreshold = 0.90;
constexpr double kSwellThreshold = 1.10;
constexpr double kInterruptionThreshold = 0.10;
constexpr double kHysteresis = 0.02;

constexpr int kMinCells[3] = {cells::uaMin, cells::ubMin, cells::ucMin};
constexpr int kMaxCells[3] = {cells::uaMax, cells::ubMax, cells::ucMax};

// The kind an event of the dip side or the swell side ends as.
VoltageEventKind finalKind(VoltageEventKind opened, bool interrupted, bool shortEvent) {
  if (opened == VoltageEventKind::Swell) return shortEvent ? VoltageEventKind::Swell : VoltageEventKind::Overvoltage;
  if (interrupted) return shortEvent ? VoltageEventKind::Interruption : VoltageEventKind::LongInterruption;
  return shortEvent ? VoltageEventKind::Dip : VoltageEventKind::Undervoltage;
}

}  // namespace

SarfiCounts sarfiCounts(std::span<const VoltageEvent> events) {
  SarfiCounts counts;
  for (const VoltageEvent& e : events) {
    if (e.kind != VoltageEventKind::Dip && e.kind != VoltageEventKind::Interruption) continue;
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

void VoltageEventDetector::open(Side& side, VoltageEventKind kind, std::int64_t seconds, double extreme) {
  side.open = true;
  side.serial = static_cast<int>(outcomes_.size());
  outcomes_.emplace_back();
  side.event = {kind, seconds, seconds, 0, 0, 0, {}, extreme, 0, false};
}

void VoltageEventDetector::extend(Side& side, std::int64_t seconds, int intervalSeconds) {
  VoltageEvent& e = side.event;
  e.lastRecord = seconds;
  ++e.records;
  e.durationSeconds += intervalSeconds;
  e.intervalSeconds = std::max(e.intervalSeconds, intervalSeconds);
  Outcome& outcome = outcomes_[static_cast<std::size_t>(side.serial)];
  // Past a minute it is no GB/T 30137 event, whatever follows: its records need not wait for its end.
  if (!outcome.decided && e.durationSeconds > kLongestShortEventSeconds) outcome.decided = true;
}

void VoltageEventDetector::close(Side& side, bool unfinished) {
  if (!side.open) return;
  Outcome& outcome = outcomes_[static_cast<std::size_t>(side.serial)];
  if (!outcome.decided) {
    outcome.decided = true;
    outcome.shortEvent = true;
  }
  VoltageEvent& e = side.event;
  e.kind = finalKind(e.kind, outcome.outageFrom.has_value(), outcome.shortEvent);
  e.extremePercent = e.extreme / declared_ * 100;
  e.unfinished = unfinished;
  // A dip and a swell close apart; the list stays in the order of their starts.
  const auto later = std::upper_bound(events_.begin(), events_.end(), e.start,
                                      [](std::int64_t start, const VoltageEvent& x) { return start < x.start; });
  events_.insert(later, e);
  side.open = false;
}

bool VoltageEventDetector::addDip(const std::array<float, 3>& minima, std::int64_t seconds, int intervalSeconds) {
  const double start = declared_ * kDipThreshold;
  const double end = declared_ * (kDipThreshold + kHysteresis);
  const bool crosses = std::any_of(minima.begin(), minima.end(), [&](float u) { return u < start; });
  if (!dip_.open) {
    if (!crosses) return false;
    open(dip_, VoltageEventKind::Dip, seconds, std::numeric_limits<double>::infinity());
  } else if (std::none_of(minima.begin(), minima.end(), [&](float u) { return u < end; })) {
    close(dip_, false);
    return false;
  }
  VoltageEvent& e = dip_.event;
  bool everyPhaseOut = true;
  for (int phase = 0; phase < 3; ++phase) {
    const double u = minima[phase];
    if (u < start) e.phases[phase] = true;
    if (u < e.extreme) e.extreme = u;
    everyPhaseOut = everyPhaseOut && u < declared_ * kInterruptionThreshold;
  }
  Outcome& outcome = outcomes_[static_cast<std::size_t>(dip_.serial)];
  if (everyPhaseOut && !outcome.outageFrom) outcome.outageFrom = seconds;
  extend(dip_, seconds, intervalSeconds);
  return true;
}

bool VoltageEventDetector::addSwell(const std::array<float, 3>& maxima, std::int64_t seconds,
                                    int intervalSeconds) {
  const double start = declared_ * kSwellThreshold;
  const double end = declared_ * (kSwellThreshold - kHysteresis);
  const bool crosses = std::any_of(maxima.begin(), maxima.end(), [&](float u) { return u > start; });
  if (!swell_.open) {
    if (!crosses) return false;
    open(swell_, VoltageEventKind::Swell, seconds, -std::numeric_limits<double>::infinity());
  } else if (std::none_of(maxima.begin(), maxima.end(), [&](float u) { return u > end; })) {
    close(swell_, false);
    return false;
  }
  VoltageEvent& e = swell_.event;
  for (int phase = 0; phase < 3; ++phase) {
    const double u = maxima[phase];
    if (u > start) e.phases[phase] = true;
    if (u > e.extreme) e.extreme = u;
  }
  extend(swell_, seconds, intervalSeconds);
  return true;
}

VoltageEventDetector::Membership VoltageEventDetector::add(const MeasurementRecord& record, std::int64_t seconds,
                                                           int intervalSeconds) {
  std::array<float, 3> minima{};
  std::array<float, 3> maxima{};
  for (int phase = 0; phase < 3; ++phase) {
    minima[phase] = record.value(kMinCells[phase]);
    maxima[phase] = record.value(kMaxCells[phase]);
  }
  Membership membership;
  if (addDip(minima, seconds, intervalSeconds)) membership.dip = dip_.serial;
  if (addSwell(maxima, seconds, intervalSeconds)) membership.swell = swell_.serial;
  return membership;
}

std::optional<RecordMark> VoltageEventDetector::markOf(const Membership& membership, std::int64_t seconds) const {
  RecordMark mark = RecordMark::None;
  if (membership.dip >= 0) {
    const Outcome& dip = outcomes_[static_cast<std::size_t>(membership.dip)];
    if (!dip.decided) return std::nullopt;
    if (dip.shortEvent) {
      mark = RecordMark::Event;
    } else if (dip.outageFrom && seconds >= *dip.outageFrom) {
      mark = RecordMark::Outage;
    }
  }
  if (membership.swell >= 0) {
    const Outcome& swell = outcomes_[static_cast<std::size_t>(membership.swell)];
    if (!swell.decided) return std::nullopt;
    if (swell.shortEvent && mark == RecordMark::None) mark = RecordMark::Event;
  }
  return mark;
}

void VoltageEventDetector::finish() {
  close(dip_, true);
  close(swell_, true);
}

}  // namespace pq
