#include "timerange/DateFieldGroup.h"

#include "base/ConversionError.h"
#include "base/FieldText.h"
#include "records/RecordStore.h"
#include "timerange/EpochSeconds.h"

namespace pq {

bool DateFieldGroup::anyEmpty() const {
  for (const auto& text : texts) {
    if (text.empty()) return true;
  }
  return false;
}

std::string DateFieldGroup::dateTimeText(const char* secondsSuffix) const {
  std::string text;
  const char* separators[] = {"-", "-", " ", ":", ""};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    text += trimmedField(texts[i]);
    text += separators[i];
  }
  return text + secondsSuffix;
}

void DateFieldGroup::showRecordTime(const RecordStore& store, int index) {
  const RecordTime time = store.recordTime(index);
  texts = {std::to_string(2000 + time.year), std::to_string(time.month), std::to_string(time.day),
           std::to_string(time.hour), std::to_string(time.minute)};
}

DateFieldGroup DateFieldGroup::ofMinute(const CalendarDateTime& t) {
  return {{std::to_string(t.year), std::to_string(t.month), std::to_string(t.day), std::to_string(t.hour),
           std::to_string(t.minute)}};
}

std::optional<TimeWindow> windowOfFields(const DateFieldGroup& start, const DateFieldGroup& end) {
  if (start.anyEmpty() || end.anyEmpty()) return std::nullopt;
  try {
    return TimeWindow{epochSeconds(CalendarDateTime::parse(start.dateTimeText(":00"))),
                      epochSeconds(CalendarDateTime::parse(end.dateTimeText(":59")))};
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

void showStoreSpan(const RecordStore& store, DateFieldGroup& start, DateFieldGroup& end) {
  if (store.recordCount() <= 0) return;
  start.showRecordTime(store, 0);
  end.showRecordTime(store, store.recordCount() - 1);
}

}  // namespace pq
