#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace pq {

// The recording interval of a file, from its records' time stamps (rising, in seconds): the most
// common step between consecutive records, the shorter of two equally common ones. An instrument
// records at one fixed interval, so the most common step is that interval even when the recording
// has gaps or a record was lost; nothing when there are fewer than two records.
std::optional<int> recordingInterval(std::span<const std::int64_t> times);

// Seconds in which records were due but none was made, both ends included.
struct RecordGap {
  std::int64_t from;
  std::int64_t to;
};

// A step from one record to the next is a gap when it is longer than the recording interval by more
// than half an interval, and by more than one second, so that a clock that slips by a second is no
// gap. The gap runs from the first due record to the last missing one: one interval after the record
// before it to one interval before the record after it, or to its start when that comes first.
std::optional<RecordGap> gapBetween(std::int64_t before, std::int64_t after, int intervalSeconds);

}  // namespace pq
