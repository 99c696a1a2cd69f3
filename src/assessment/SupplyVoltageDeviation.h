#pragma once

#include <array>
#include <optional>

#include "aggregation/AggregatedSeries.h"
#include "assessment/AssessmentLimits.h"
#include "assessment/IndexAssessment.h"

namespace pq {

struct RecordHead;

// The voltage a supply's deviation is judged against.
struct SupplyVoltage {
  // The declared voltage of the phase voltage cells, in their units: the phase voltage for four-wire
  // records, the line voltage for three-wire ones, whose cells hold line voltages.
  double declared;
  double nominalKilovolts;  // the level's nominal line voltage, which chooses the band
  bool lineVoltages = false;
  bool singlePhase = false;
  const char* unit = "V";  // of `declared`, as the record head names its voltage cells' unit ("KV" or "V")
};

// The deviation band of the supply's level; nothing between 20 and 35 kV, where the standard names none.
std::optional<DeviationBandLimits> deviationBandOf(const SupplyVoltage& supply,
                                                   const AssessmentLimits& limits);

// The supply of a file's records of wiring mode `wiringMode` (1 four-wire, 3 three-wire): the
// head's nominal voltage is the line voltage in the units of its cells, kV behind a voltage
// transformer and V without one.
SupplyVoltage supplyVoltageOf(const RecordHead& head, int wiringMode);

// The supply voltage deviation of one phase voltage cell (GB/T 12325) from its 1-minute values:
// `index` holds the statistics of the minutes' deviations in % (the 95 % value ranking their
// magnitudes, as the report's deviation does) and, as pass rate, the voltage
// qualification rate (1 - (over + under) / monitored) x 100 rounded to two decimals. A minute with a
// voltage event inside is left out and counted apart, as is one without a value.
struct VoltageDeviationAssessment {
  IndexAssessment index;
  int monitoredMinutes = 0;
  int minutesOver = 0;
  int minutesUnder = 0;
  int flaggedMinutes = 0;
  int outageMinutes = 0;
  int minutesWithoutValue = 0;
};

// Phases A, B and C (the line voltages AB, BC and CA of three-wire records) of the 1-minute series.
std::array<VoltageDeviationAssessment, 3> assessVoltageDeviation(const AggregatedSeries& minutes,
                                                                 const SupplyVoltage& supply,
                                                                 const AssessmentLimits& limits);

}  // namespace pq
