#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "timerange/CalendarDateTime.h"

namespace pq {

class RecordStore;
struct MeasurementRecord;

// Seconds since 1970-01-01 00:00:00 of a calendar date-time, and back; record times carry no time
// zone, so this is a count on the recording's own clock, aligned to its midnight.
std::int64_t epochSeconds(const CalendarDateTime& t);
CalendarDateTime calendarOfEpochSeconds(std::int64_t seconds);
// "YYYY-MM-DD HH:MM:SS" of epoch seconds, as record times print.
std::string epochTimeText(std::int64_t seconds);
// The time of a record, or nothing when its stamp is no date-time.
std::optional<std::int64_t> recordSeconds(const MeasurementRecord& record);
std::optional<std::int64_t> recordSeconds(const RecordStore& store, int index);

}  // namespace pq
