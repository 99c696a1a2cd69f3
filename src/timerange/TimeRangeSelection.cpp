#include "timerange/TimeRangeSelection.h"

#include "records/RecordStore.h"
#include "timerange/Clock.h"
#include "timerange/EpochSeconds.h"
#include "timerange/RecordSpan.h"
#include "timerange/TimeRangeMessages.h"

namespace pq {

void TimeRangeSelection::reset(const DateFieldGroup& initialStart, const DateFieldGroup& initialEnd) {
  timeQuery = true;
  mode = TimeRangeMode::ShowAll;
  start = initialStart;
  end = initialEnd;
}

std::optional<std::string> TimeRangeSelection::selectTimeRange(RecordStore& store) const {
  const int n = store.recordCount();
  if (n <= 0) return std::nullopt;
  if (!timeQuery) {
    store.rangeStart = store.rangeEnd = 0;
    return std::nullopt;
  }
  switch (mode) {
    case TimeRangeMode::ShowAll:
      store.rangeStart = 0;
      store.rangeEnd = n;
      return std::nullopt;
    case TimeRangeMode::CurrentDay:
      return selectFromDate(store, clock_.today(), false);
    case TimeRangeMode::LastWeek:
      return selectFromDate(store, clock_.today().minusDays(7), true);
    case TimeRangeMode::Custom:
      return selectCustom(store);
    case TimeRangeMode::None:
      break;
  }
  return std::nullopt;
}

// From the first record of `date` (or, for the last week, of a later day of that month) to the end of
// the store. A record from a later day met before any match means one of the clocks is wrong.
std::optional<std::string> TimeRangeSelection::selectFromDate(RecordStore& store, const CalendarDate& date,
                                                              bool laterDaysMatch) const {
  const int n = store.recordCount();
  std::optional<std::string> message;
  int first = n;
  for (int i = 0; i < n; ++i) {
    const CalendarDate t = decodedRecordDate(store, i);
    const bool sameMonth = t.year == date.year && t.month == date.month;
    if (sameMonth && (t.day == date.day || (laterDaysMatch && t.day > date.day))) {
      first = i;
      break;
    }
    if (t.year > date.year || (t.year == date.year && t.month > date.month) ||
        (sameMonth && t.day > date.day)) {
      message = messages::kClockWrong;
      break;
    }
  }
  store.rangeStart = first;
  store.rangeEnd = n;
  return message;
}

std::optional<std::string> TimeRangeSelection::selectCustom(RecordStore& store) const {
  const CalendarDateTime from = CalendarDateTime::parse(start.dateTimeText(":00"));
  const CalendarDateTime to = CalendarDateTime::parse(end.dateTimeText(":59"));
  if (from > to) {
    store.rangeStart = store.rangeEnd = 0;
    return messages::kEndBeforeStart;
  }
  const IndexRange range = findRecordSpan(store, from, to);
  store.rangeStart = range.start;
  store.rangeEnd = range.end;
  if (range.start == range.end) return messages::kNoRecordsInSpan;
  return std::nullopt;
}

std::optional<TimeWindow> TimeRangeSelection::customWindow() const {
  if (!timeQuery || mode != TimeRangeMode::Custom) return std::nullopt;
  return TimeWindow{epochSeconds(CalendarDateTime::parse(start.dateTimeText(":00"))),
                    epochSeconds(CalendarDateTime::parse(end.dateTimeText(":59")))};
}

std::optional<TimeWindow> TimeRangeSelection::chosenWindow() const {
  if (!timeQuery) return TimeWindow{};
  const auto fromStartOf = [](const CalendarDate& date) {
    return TimeWindow{epochSeconds({date.year, date.month, date.day, 0, 0, 0}), std::nullopt};
  };
  switch (mode) {
    case TimeRangeMode::CurrentDay:
      return fromStartOf(clock_.today());
    case TimeRangeMode::LastWeek:
      return fromStartOf(clock_.today().minusDays(7));
    case TimeRangeMode::Custom:
      return windowOfFields(start, end);
    case TimeRangeMode::ShowAll:
    case TimeRangeMode::None:
      break;
  }
  return TimeWindow{};
}

void TimeRangeSelection::showRangeInFields(const RecordStore& store) { showStoreSpan(store, start, end); }

}  // namespace pq
