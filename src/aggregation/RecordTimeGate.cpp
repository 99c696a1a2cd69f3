#include "aggregation/RecordTimeGate.h"

#include <algorithm>
#include <vector>

#include "aggregation/RecordGaps.h"
#include "records/MeasurementRecord.h"

namespace pq {

int recordingIntervalOfFile(std::span<const MeasurementRecord> firstRecords) {
  const auto records = firstRecords.first(std::min<std::size_t>(firstRecords.size(), kIntervalSampleRecords));
  std::vector<std::int64_t> times;
  times.reserve(records.size());
  for (const MeasurementRecord& record : records) {
    const auto seconds = recordSeconds(record);
    if (seconds && (times.empty() || *seconds > times.back())) times.push_back(*seconds);
  }
  return std::clamp(recordingInterval(times).value_or(1), 1, 86400);
}

RecordTimeGate::Judged RecordTimeGate::judge(std::int64_t candidate, std::optional<std::int64_t> next) {
  if (last_ && candidate <= *last_) {
    ++(candidate == *last_ ? duplicates_ : outOfOrder_);
    return {candidate == *last_ ? GateVerdict::Duplicate : GateVerdict::OutOfOrder, candidate};
  }
  const bool neighboursInOrder = next && (!last_ || *next > *last_);
  if (neighboursInOrder && *next < candidate) {
    ++outOfOrder_;
    return {GateVerdict::OutOfOrder, candidate};
  }
  last_ = candidate;
  return {GateVerdict::Admitted, candidate};
}

std::optional<RecordTimeGate::Judged> RecordTimeGate::offer(std::int64_t seconds) {
  std::optional<Judged> judged;
  if (pending_) judged = judge(*pending_, seconds);
  pending_ = seconds;
  return judged;
}

std::optional<RecordTimeGate::Judged> RecordTimeGate::finish() {
  if (!pending_) return std::nullopt;
  const Judged judged = judge(*pending_, std::nullopt);
  pending_.reset();
  return judged;
}

}  // namespace pq
