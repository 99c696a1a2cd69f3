#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pq {

class RecordStore;

// Voltage dips, swells and short interruptions, found in the per-record minimum and maximum cells of
// the three phase voltages against the declared voltage of those cells (the phase voltage for
// four-wire records, the line voltage for three-wire ones, whose cells hold line voltages).
//
// The rules:
//  - A dip starts at the first record in which any phase's minimum is below 90 % and lasts to the
//    last record before every phase's minimum is back at 92 % or more (2 % hysteresis). It is a short
//    interruption when, in one of its records, every phase's minimum is below 10 %. Its residual
//    voltage is the lowest minimum in it.
//  - A swell likewise: any phase's maximum above 110 % starts it; it lasts while a phase's maximum is
//    above 108 %. Its peak is the highest maximum in it. Dips and swells are followed apart, so a
//    record may belong to both.
//  - The duration is the number of records, so whole seconds of one-second records, each ±1 s.
//  - A cell that is not a number neither starts nor holds an event.
//  - An event still open when the records end is kept and marked unfinished.
enum class VoltageEventKind { Dip, Swell, Interruption };

struct VoltageEvent {
  VoltageEventKind kind;
  std::int64_t start;          // epoch seconds of its first record
  std::int64_t lastRecord;     // and of its last
  int records;                 // its duration in records
  std::array<bool, 3> phases;  // the phases that crossed the 90 % (110 %) threshold
  double extreme;              // residual voltage (dips, interruptions) or peak (swells), in cell units
  double extremePercent;       // the same in % of the declared voltage
  bool unfinished;
};

// The SARFI-x counts of a recording: the dips and interruptions whose residual voltage is below x %.
struct SarfiCounts {
  int sarfi90 = 0, sarfi70 = 0, sarfi50 = 0, sarfi10 = 0;
  bool operator==(const SarfiCounts&) const = default;
};
SarfiCounts sarfiCounts(std::span<const VoltageEvent> events);

// Follows the records one by one, in time order (the aggregation's RecordTimeGate), so that the
// aggregation can flag the intervals an event touches as the records pass.
class VoltageEventDetector {
 public:
  // A declared voltage that is zero, negative or not a number throws std::invalid_argument with the
  // operator's message: no event could be judged against it.
  explicit VoltageEventDetector(double declaredVoltage);

  // Whether the record belongs to a voltage event.
  bool add(const RecordStore& store, int index, std::int64_t seconds);
  // Closes an event still open at the end of the records.
  void finish();

  const std::vector<VoltageEvent>& events() const { return events_; }

 private:
  struct Side {
    bool open = false;
    VoltageEvent event{};
  };
  bool addDip(const std::array<float, 3>& minima, std::int64_t seconds);
  bool addSwell(const std::array<float, 3>& maxima, std::int64_t seconds);
  void close(Side& side, bool unfinished);

  double declared_;
  Side dip_;
  Side swell_;
  std::vector<VoltageEvent> events_;
};

}  // namespace pq
