#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "assessment/AssessmentLimits.h"
#include "assessment/AssessmentPass.h"
#include "assessment/AssessmentTrends.h"
#include "assessment/FrequencyDeviation.h"
#include "assessment/HarmonicAssessment.h"
#include "assessment/NinetyFivePercentSink.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "assessment/UnbalanceAssessment.h"
#include "timerange/TimeWindow.h"

namespace pq {

struct RecordHead;

// What an assessment judges against.
struct AssessmentSetup {
  SupplyVoltage supply;
  AssessmentLimits limits;
  std::string limitSetName;
  // The harmonic limits of the head's level and capacities in `limits` (harmonicLimitsOf); a survey
  // assessed again with other limits keeps those its 3-second values were counted against.
  HarmonicLimits harmonicLimits;
  // The recording interval of the (first) file: what a record stands for and what a gap exceeds. A
  // survey's files keep their own (AssessmentResult::recordIntervals).
  int recordSeconds = 1;
};

// The setup of the records `assessed`, part of a file with the head `head` and the records
// `fileRecords`: the supply of the first assessed record's wiring mode, the harmonic limits of the
// head's level code and capacities, and the recording interval of the whole file
// (recordingIntervalOfFile of its first records), the same whichever span of it is assessed.
AssessmentSetup assessmentSetupOf(const RecordHead& head, std::span<const MeasurementRecord> fileRecords,
                                  std::span<const MeasurementRecord> assessed, const AssessmentLimits& limits,
                                  std::string limitSetName);
// The same from a file's head and the wiring mode of its first record, without its records: the
// recording interval is left at 1 s for the caller to set.
AssessmentSetup assessmentSetupOf(const RecordHead& head, int wiringMode, const AssessmentLimits& limits,
                                  std::string limitSetName);

// The whole power-quality assessment of a recording. When `refusal` is not empty nothing was judged
// and it says why (an invalid declared voltage, no records to assess); every other member but
// `setup` is then empty and must not be shown as a result.
struct AssessmentResult {
  std::string refusal;
  AssessmentSetup setup;

  RecordedSpan span;   // the records assessed, the gaps between them
  std::vector<int> recordIntervals;  // the recording intervals of the files assessed, ascending
  int duplicates = 0;  // records left out: the same time as the record before
  int outOfOrder = 0;  // earlier than a record before
  int undatable = 0;   // a time stamp that is no date-time
  std::string spanMethod;

  // Phases A, B, C, or the line voltages AB, BC, CA when setup.supply.lineVoltages.
  std::array<VoltageDeviationAssessment, 3> deviation;
  UnbalanceAssessment unbalance;
  FrequencyDeviationAssessment frequency;
  // Per voltage channel Ua..Uc the contents of orders 2..25 and the distortion (order 0), then per
  // current channel Ia..Ic orders 2..25, in the order of harmonicQuantities().
  std::vector<HarmonicIndex> harmonics;

  std::vector<VoltageEvent> events;     // GB/T 30137's, in the order of their starts
  std::vector<VoltageEvent> sustained;  // longer than a minute, in the order of their starts
  int outageSeconds = 0;                // the duration of the long interruptions
  SarfiCounts sarfi;
  std::string eventsMethod;
  EnergySummary energy;
  std::string energyMethod;
  AssessmentTrends trends;  // what the charts draw
};

// Runs the assessment of the records of one file, with the head `head`, whose times lie in `window`, in
// one pass.
AssessmentResult runAssessment(const RecordHead& head, std::span<const MeasurementRecord> records,
                               const TimeWindow& window, const AssessmentSetup& setup);

// The assessment of values gathered already, such as a survey's: `threeSeconds` must have been built on
// harmonicQuantities(setup.harmonicLimits) and fed by the same pass.
AssessmentResult assessmentOf(const RecordingValues& values, const NinetyFivePercentSink& threeSeconds,
                              const AssessmentSetup& setup);

}  // namespace pq
