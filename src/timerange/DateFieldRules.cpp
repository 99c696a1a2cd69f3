#include "timerange/DateFieldRules.h"

#include "base/FieldText.h"
#include "timerange/TimeRangeMessages.h"

namespace pq {

KeyAction filterKey(DateFieldKind kind, std::string_view text, char32_t key) {
  const std::string_view trimmed = trimmedField(text);
  if (key == kBackspaceKey) return KeyAction::Accept;
  if (key >= U'0' && key <= U'9') {
    const std::size_t maxLength = kind == DateFieldKind::Year ? 4 : 2;
    return trimmed.size() < maxLength ? KeyAction::Accept : KeyAction::Drop;
  }
  if (key == kEnterKey) return trimmed.empty() ? KeyAction::Drop : KeyAction::AcceptAndValidate;
  return KeyAction::Drop;
}

DateFieldVerdict validateField(DateFieldKind kind, std::string_view text) {
  const std::string_view trimmed = trimmedField(text);
  if (trimmed.empty()) return {messages::kQueryTimeWrong, false, false};
  const long long number = fieldInteger(trimmed);
  // The fields hold small unsigned numbers: a month is taken modulo 256, a year modulo 65536.
  const long long modulus = kind == DateFieldKind::Year ? 65536 : 256;
  const long long value = (number % modulus + modulus) % modulus;
  auto outside = [&](long long low, long long high) { return value < low || value > high; };
  switch (kind) {
    case DateFieldKind::Month:
      if (outside(1, 12)) return {messages::kMonthWrong, true, true};
      break;
    case DateFieldKind::Day:
      if (outside(1, 31)) return {messages::kDayWrong, true, true};
      break;
    case DateFieldKind::Hour:
      if (outside(0, 23)) return {messages::kHourWrong, true, true};
      break;
    case DateFieldKind::Minute:
      if (outside(0, 59)) return {messages::kMinuteWrong, true, true};
      break;
    case DateFieldKind::Year:
      if (trimmed.size() < 4) return {messages::kYearFourDigits, false, true};
      if (outside(2000, 2200)) return {messages::kYearWrong, true, true};
      break;
  }
  return {};
}

}  // namespace pq
