#pragma once

#include <array>
#include <string>

#include "timerange/CalendarDateTime.h"
#include "timerange/DateFieldRules.h"
#include "timerange/TimeWindow.h"

namespace pq {

class RecordStore;

// The five edit texts of one end of a time range: year, month, day, hour, minute.
struct DateFieldGroup {
  static constexpr DateFieldKind kKinds[5] = {DateFieldKind::Year, DateFieldKind::Month, DateFieldKind::Day,
                                              DateFieldKind::Hour, DateFieldKind::Minute};

  std::array<std::string, 5> texts;

  // True when a text is empty as it stands (a text of blanks is not empty).
  bool anyEmpty() const;
  // "year-month-day hour:minute" of the trimmed texts followed by `secondsSuffix` (":00" or ":59").
  std::string dateTimeText(const char* secondsSuffix) const;
  // Shows the time of a stored record as plain decimal numbers (year 2000 + yy).
  void showRecordTime(const RecordStore& store, int index);
  // The fields of a date-time to the minute, as plain decimal numbers.
  static DateFieldGroup ofMinute(const CalendarDateTime& t);
};

// From the first second of the start fields' minute to the last second of the end fields' minute, for a
// window that says a wrong date itself rather than let the conversion's error reach the operator;
// nothing when either end is no date-time (31 June) or a field is empty.
std::optional<TimeWindow> windowOfFields(const DateFieldGroup& start, const DateFieldGroup& end);

// Shows the first stored record's time in `start` and the last one's in `end`; nothing without records.
void showStoreSpan(const RecordStore& store, DateFieldGroup& start, DateFieldGroup& end);

}  // namespace pq
