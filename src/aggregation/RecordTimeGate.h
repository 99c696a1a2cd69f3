#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "records/MeasurementRecord.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/EpochSeconds.h"
#include "timerange/TimeWindow.h"

namespace pq {

// The records whose steps give a file's recording interval: enough for a clear majority, and few enough
// that a survey knows the interval as soon as the first of them are imported.
inline constexpr int kIntervalSampleRecords = 4096;
// The recording interval of a file (RecordGaps.h) from its first records: the most common step between
// the rising times of its first kIntervalSampleRecords records (of those given when fewer), clamped to
// 1..86400 s; 1 s below two records.
int recordingIntervalOfFile(std::span<const MeasurementRecord> firstRecords);

// What the gate made of a record.
enum class GateVerdict { Admitted, Duplicate, OutOfOrder };

// Lets through records whose time stamps rise strictly, so that none is mixed into an interval that
// already went by. A record is judged once the next dated record is known: one alone whose time is
// not between its neighbours' while they are in order with each other (a stamp a day ahead among
// good ones) is left out alone, where a running rule would leave out every record until time passed
// it. Otherwise a record not later than the last one let through is left out (a clock set back drops
// records until time passes the latest). Kept across several files, it also leaves out the records
// of a later file that overlap an earlier one. The caller keeps the record offered until its verdict
// comes, and counts the records without a time (undated()) rather than offering them.
class RecordTimeGate {
 public:
  struct Judged {
    GateVerdict verdict;
    std::int64_t seconds;  // of the record judged
  };
  // Offers the next dated record; the verdict on the one offered before it, if any.
  std::optional<Judged> offer(std::int64_t seconds);
  // The verdict on the record offered last, which has no successor; nothing when none waits.
  std::optional<Judged> finish();
  void undated() { ++undatable_; }

  int duplicates() const { return duplicates_; }  // same time as the record let through before
  int outOfOrder() const { return outOfOrder_; }  // earlier than it, or alone far from its neighbours
  int undatable() const { return undatable_; }    // a time stamp that is no valid date-time
  int skipped() const { return duplicates_ + outOfOrder_ + undatable_; }

 private:
  Judged judge(std::int64_t candidate, std::optional<std::int64_t> next);

  std::optional<std::int64_t> last_;     // the last record let through
  std::optional<std::int64_t> pending_;  // offered, not yet judged
  int duplicates_ = 0;
  int outOfOrder_ = 0;
  int undatable_ = 0;
};

// Offers the records to the gate and calls `admitted(record, seconds)` for each it lets through, in
// order; finishes the gate.
template <typename Admitted>
void forEachAdmittedRecord(std::span<const MeasurementRecord> records, RecordTimeGate& gate, Admitted&& admitted) {
  const MeasurementRecord* pending = nullptr;
  const auto pass = [&](const std::optional<RecordTimeGate::Judged>& judged) {
    if (judged && judged->verdict == GateVerdict::Admitted) admitted(*pending, judged->seconds);
  };
  for (const MeasurementRecord& record : records) {
    const auto seconds = recordSeconds(record);
    if (!seconds) {
      gate.undated();
      continue;
    }
    pass(gate.offer(*seconds));
    pending = &record;
  }
  pass(gate.finish());
}

}  // namespace pq
