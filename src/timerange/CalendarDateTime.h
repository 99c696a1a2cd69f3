#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace pq {

class RecordStore;
struct RecordTime;

// A valid calendar date-time to the second, as time ranges compare them.
struct CalendarDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;

  auto operator<=>(const CalendarDateTime&) const = default;

  // Reads "year-month-day hour:minute:second" (numbers without leading zeros allowed). A text of
  // another shape or a date that does not exist (30 February) throws ConversionError.
  static CalendarDateTime parse(std::string_view text);
  // The time stamp of a stored record (year 2000 + yy); one that is no valid date-time, such as BCD
  // month 0x13, throws ConversionError.
  static CalendarDateTime ofRecord(const RecordStore& store, int index);
  // The same of a decoded stamp without the throw, for loops over many records: nothing when it is
  // no valid date-time.
  static std::optional<CalendarDateTime> ofRecordTime(const RecordTime& time);
};

// A calendar date, as the computer's clock gives it.
struct CalendarDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const CalendarDate&) const = default;

  // The date `days` days earlier.
  CalendarDate minusDays(int days) const;
};

// The date of a stored record's time stamp (year 2000 + yy), the only part the day scans decode; a
// byte whose hexadecimal digits spell no decimal number, such as 0x1A, throws ConversionError. The
// numbers need not form a valid date (BCD month 0x13 gives 13).
CalendarDate decodedRecordDate(const RecordStore& store, int index);

}  // namespace pq
