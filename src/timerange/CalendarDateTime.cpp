#include "timerange/CalendarDateTime.h"

#include <charconv>
#include <chrono>
#include <string>

#include "base/ConversionError.h"
#include "records/RecordStore.h"

namespace pq {

namespace {

bool isValid(const CalendarDateTime& t) {
  if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31) return false;
  const std::chrono::year_month_day date{std::chrono::year(t.year),
                                         std::chrono::month(static_cast<unsigned>(t.month)),
                                         std::chrono::day(static_cast<unsigned>(t.day))};
  return date.ok() && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59;
}

[[noreturn]] void notADateTime(std::string_view text) {
  throw ConversionError("'" + std::string(text) + "' is not a valid date and time");
}

// One unsigned number followed by `separator` (or by the end of the text when separator is 0).
bool readPart(std::string_view& rest, char separator, int& out) {
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), out);
  if (ec != std::errc() || end == rest.data() || rest.front() == '-') return false;
  rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
  if (separator == 0) return rest.empty();
  if (rest.empty() || rest.front() != separator) return false;
  rest.remove_prefix(1);
  return true;
}

[[noreturn]] void recordTimeIsNoDateTime(const RecordStore& store, int index) {
  std::string text = store.recordTimeText(index);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  notADateTime(text);
}

}  // namespace

CalendarDateTime CalendarDateTime::parse(std::string_view text) {
  CalendarDateTime t;
  std::string_view rest = text;
  const bool shaped = readPart(rest, '-', t.year) && readPart(rest, '-', t.month) &&
                      readPart(rest, ' ', t.day) && readPart(rest, ':', t.hour) &&
                      readPart(rest, ':', t.minute) && readPart(rest, 0, t.second);
  if (!shaped || !isValid(t)) notADateTime(text);
  return t;
}

std::optional<CalendarDateTime> CalendarDateTime::ofRecordTime(const RecordTime& r) {
  const CalendarDateTime t{2000 + r.year, r.month, r.day, r.hour, r.minute, r.second};
  if (r.year < 0 || !isValid(t)) return std::nullopt;
  return t;
}

CalendarDateTime CalendarDateTime::ofRecord(const RecordStore& store, int index) {
  const RecordTime r = store.recordTime(index);
  const CalendarDateTime t{2000 + r.year, r.month, r.day, r.hour, r.minute, r.second};
  if (r.year < 0 || !isValid(t)) recordTimeIsNoDateTime(store, index);
  return t;
}

CalendarDate decodedRecordDate(const RecordStore& store, int index) {
  const RecordTime r = store.recordTime(index);
  if (r.year < 0 || r.month < 0 || r.day < 0) recordTimeIsNoDateTime(store, index);
  return {2000 + r.year, r.month, r.day};
}

CalendarDate CalendarDate::minusDays(int days) const {
  using namespace std::chrono;
  const year_month_day date{
      sys_days{year_month_day{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))}} -
      std::chrono::days(days)};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day()))};
}

}  // namespace pq
