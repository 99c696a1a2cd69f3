#include "timerange/EpochSeconds.h"

#include <cstdio>

#include <chrono>

#include "records/RecordStore.h"

namespace pq {

std::int64_t epochSeconds(const CalendarDateTime& t) {
  using namespace std::chrono;
  const sys_days day{year_month_day{year(t.year), month(static_cast<unsigned>(t.month)),
                                    std::chrono::day(static_cast<unsigned>(t.day))}};
  return static_cast<std::int64_t>(day.time_since_epoch().count()) * 86400 + t.hour * 3600 + t.minute * 60 +
         t.second;
}

std::string epochTimeText(std::int64_t seconds) {
  const CalendarDateTime t = calendarOfEpochSeconds(seconds);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

CalendarDateTime calendarOfEpochSeconds(std::int64_t seconds) {
  using namespace std::chrono;
  const std::int64_t secondOfDay = ((seconds % 86400) + 86400) % 86400;
  const year_month_day date{sys_days{days{(seconds - secondOfDay) / 86400}}};
  const auto s = static_cast<int>(secondOfDay);
  return {static_cast<int>(date.year()),
          static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          s / 3600,
          s / 60 % 60,
          s % 60};
}

std::optional<std::int64_t> recordSeconds(const MeasurementRecord& record) {
  const std::optional<CalendarDateTime> time = CalendarDateTime::ofRecordTime(recordTimeOf(record));
  if (!time) return std::nullopt;
  return epochSeconds(*time);
}

std::optional<std::int64_t> recordSeconds(const RecordStore& store, int index) {
  return recordSeconds(store.record(index));
}

}  // namespace pq
