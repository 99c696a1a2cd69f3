#pragma once

#include <optional>
#include <string>

#include "timerange/CalendarDateTime.h"
#include "timerange/DateFieldGroup.h"
#include "timerange/TimeWindow.h"

namespace pq {

class Clock;
class RecordStore;

enum class TimeRangeMode { None, ShowAll, CurrentDay, LastWeek, Custom };

// The state of one "时间设定" panel of a trend page and the mapping of its choice onto the
// store's [rangeStart, rangeEnd). The panel window turns its check box, radios and ten edits into
// these fields and shows what the calls return.
class TimeRangeSelection {
 public:
  explicit TimeRangeSelection(const Clock& clock) : clock_(clock) {}

  // The state a page is entered with: time selection on, all records, the page's initial texts.
  void reset(const DateFieldGroup& initialStart, const DateFieldGroup& initialEnd);

  // The ten date fields are enabled exactly in Custom mode.
  bool customFieldsEnabled() const { return mode == TimeRangeMode::Custom; }

  // Sets the store's range for the chosen mode; returns the message to show, if any. The caller has
  // made sure no date field is empty. A custom start, end or record time that is no valid date-time,
  // or a record date whose bytes spell no BCD number met by the day scans, throws ConversionError and
  // leaves the range as it was.
  std::optional<std::string> selectTimeRange(RecordStore& store) const;

  // The times of a Custom choice, for an assessment that takes records by their own times rather than
  // the span of the store between them; nothing in the other modes. Throws ConversionError as
  // selectTimeRange does for fields that are no date-time.
  std::optional<TimeWindow> customWindow() const;

  // The times the choice stands for, for records that are not in the store (a survey): no bound for
  // all records (ShowAll, or the time selection off); from the start of today, or of the day a week
  // ago, on; the custom fields' minutes. Nothing for a custom start or end that is no date-time.
  std::optional<TimeWindow> chosenWindow() const;

  // After a ShowAll query: the first record's time in the start fields, the last one's in the end
  // fields.
  void showRangeInFields(const RecordStore& store);

  bool timeQuery = true;
  TimeRangeMode mode = TimeRangeMode::ShowAll;
  DateFieldGroup start;
  DateFieldGroup end;

 private:
  std::optional<std::string> selectFromDate(RecordStore& store, const CalendarDate& date,
                                            bool laterDaysMatch) const;
  std::optional<std::string> selectCustom(RecordStore& store) const;

  const Clock& clock_;
};

}  // namespace pq
