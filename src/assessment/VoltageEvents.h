#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "aggregation/IntervalAggregator.h"

namespace pq {

struct MeasurementRecord;

// Voltage events, found in the per-record minimum and maximum cells of the three phase voltages
// against the declared voltage of those cells (the phase voltage for four-wire records, the line
// voltage for three-wire ones, whose cells hold line voltages).
//
// The rules:
//  - A dip starts at the first record in which any phase's minimum is below 90 % and lasts to the
//    last record before every phase's minimum is back at 92 % or more (2 % hysteresis). It is an
//    interruption when, in one of its records, every phase's minimum is below 10 %. Its residual
//    voltage is the lowest minimum in it.
//  - A swell likewise: any phase's maximum above 110 % starts it; it lasts while a phase's maximum is
//    above 108 %. Its peak is the highest maximum in it. Dips and swells are followed apart, so a
//    record may belong to both.
//  - The duration is the sum of its records' intervals, each ± one interval.
//  - GB/T 30137 bounds dips, swells and short interruptions at one minute: an event of more than 60 s
//    is a sustained undervoltage, a sustained overvoltage or a long interruption instead.
//  - A cell that is not a number neither starts nor holds an event.
//  - An event still open when the records end is kept and marked unfinished.
enum class VoltageEventKind { Dip, Swell, Interruption, Undervoltage, Overvoltage, LongInterruption };

// Whether the kind is one of GB/T 30137's events of a minute or less.
inline constexpr bool isShortEvent(VoltageEventKind kind) {
  return kind == VoltageEventKind::Dip || kind == VoltageEventKind::Swell || kind == VoltageEventKind::Interruption;
}

struct VoltageEvent {
  VoltageEventKind kind;
  std::int64_t start;          // epoch seconds of its first record
  std::int64_t lastRecord;     // and of its last
  int records;                 // its number of records
  int durationSeconds;         // the sum of its records' intervals
  int intervalSeconds;         // the longest interval of its records: the duration's uncertainty
  std::array<bool, 3> phases;  // the phases that crossed the 90 % (110 %) threshold
  double extreme;              // residual voltage (dips, interruptions) or peak (swells), in cell units
  double extremePercent;       // the same in % of the declared voltage
  bool unfinished;
};

// The longest a dip, swell or short interruption lasts (GB/T 30137).
inline constexpr int kLongestShortEventSeconds = 60;

// The SARFI-x counts of a recording: the dips and interruptions whose residual voltage is below x %.
struct SarfiCounts {
  int sarfi90 = 0, sarfi70 = 0, sarfi50 = 0, sarfi10 = 0;
  bool operator==(const SarfiCounts&) const = default;
};
// Of the short events among `events`; sustained ones do not count.
SarfiCounts sarfiCounts(std::span<const VoltageEvent> events);

// Follows the records one by one, in time order (the aggregation's RecordTimeGate). Whether a record
// leaves its intervals out of the indices depends on what its event turns out to be, which is known
// only when the event ends or passes one minute: the detector says for each record which events it
// belongs to, and markOf() tells, once they are decided, how the record counts.
class VoltageEventDetector {
 public:
  // A declared voltage that is zero, negative or not a number throws std::invalid_argument with the
  // operator's message: no event could be judged against it.
  explicit VoltageEventDetector(double declaredVoltage);

  // The events a record belongs to, by their serial numbers (-1: none on that side).
  struct Membership {
    int dip = -1;
    int swell = -1;
  };
  Membership add(const MeasurementRecord& record, std::int64_t seconds, int intervalSeconds);
  // How a record of `membership` at `seconds` counts in the indices; nothing while one of its events
  // is still open and shorter than a minute. A record of a short event is RecordMark::Event; one of a
  // long interruption from its first record with every phase below 10 % on is RecordMark::Outage; a
  // record of a sustained under- or overvoltage counts as any other.
  std::optional<RecordMark> markOf(const Membership& membership, std::int64_t seconds) const;
  // Closes the events still open at the end of the records; every record is decided then.
  void finish();

  // Every event, short and sustained, in the order of their starts.
  const std::vector<VoltageEvent>& events() const { return events_; }

 private:
  struct Side {
    bool open = false;
    int serial = -1;
    VoltageEvent event{};
  };
  // What became of an event, by serial number.
  struct Outcome {
    bool decided = false;
    bool shortEvent = false;
    std::optional<std::int64_t> outageFrom;  // the first record with every phase below 10 %
  };
  bool addDip(const std::array<float, 3>& minima, std::int64_t seconds, int intervalSeconds);
  bool addSwell(const std::array<float, 3>& maxima, std::int64_t seconds, int intervalSeconds);
  void open(Side& side, VoltageEventKind kind, std::int64_t seconds, double extreme);
  void extend(Side& side, std::int64_t seconds, int intervalSeconds);
  void close(Side& side, bool unfinished);

  double declared_;
  Side dip_;
  Side swell_;
  std::vector<Outcome> outcomes_;
  std::vector<VoltageEvent> events_;
};

}  // namespace pq
