#include "base/FieldText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/ConversionError.h"

namespace pq {

namespace {
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::string_view trimmedField(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

long long fieldInteger(std::string_view text) {
  const std::string_view digits = trimmedField(text);
  long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
  }
  return value;
}

double fieldDecimal(std::string_view text) {
  std::string_view number = trimmedField(text);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  // "inf" and "nan" are no numbers a person types as a capacity.
  if (number.empty() || ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return value;
}

std::string generalNumberText(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

}  // namespace pq
