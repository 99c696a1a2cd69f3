#pragma once

#include <string>
#include <string_view>

namespace pq {

// The five kinds of date field of a time range; a year takes up to four digits, the others two.
enum class DateFieldKind { Year, Month, Day, Hour, Minute };

// Keys a field handler sees besides printable characters.
inline constexpr char32_t kBackspaceKey = 0x08;
inline constexpr char32_t kEnterKey = 0x0D;

enum class KeyAction {
  Drop,
  Accept,
  AcceptAndValidate,  // Enter in a non-empty field: validateField runs
};

// What a typed key does to a date field holding `text`.
KeyAction filterKey(DateFieldKind kind, std::string_view text, char32_t key);

// The outcome of checking a date field when it loses the focus or Enter is pressed.
struct DateFieldVerdict {
  std::string message;      // empty when the field is fine
  bool emptyField = false;  // the window empties the field
  bool focusBack = false;   // and puts the focus back to it
};

// A text that is not a whole number throws ConversionError.
DateFieldVerdict validateField(DateFieldKind kind, std::string_view text);

}  // namespace pq
