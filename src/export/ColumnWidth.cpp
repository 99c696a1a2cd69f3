#include "export/ColumnWidth.h"

#include <algorithm>
#include <cmath>

#include "export/ValueText.h"

namespace pq {

namespace {

// A General cell shows at most eleven characters of a number before it rounds or turns to an exponent.
constexpr double kGeneralNumberWidth = 11;
// "2024-03-05 12:34:56"
constexpr double kDateTimeWidth = 19;
// The bold heading is about a tenth wider than the same text in the Normal font.
constexpr double kBoldWidening = 1.1;
// Two digits more than the first value needs, and the cell's margins.
constexpr double kDigitsHeadroom = 2;
constexpr double kCellMargin = 1;
// A text that long wraps no heading; its column stops growing there.
constexpr double kWidestColumn = 60;

// The digits after the point of a format code such as "0.000" or "0.00\" kV\"".
int decimalsOf(const std::string& numberFormat) {
  const auto point = numberFormat.find('.');
  if (point == std::string::npos) return 0;
  int decimals = 0;
  for (std::size_t i = point + 1; i < numberFormat.size() && (numberFormat[i] == '0' || numberFormat[i] == '#'); ++i)
    ++decimals;
  return decimals;
}

double numberWidth(double value, const std::string& numberFormat, double shortestText) {
  if (!std::isfinite(value)) return shortestText;
  if (numberFormat.empty()) return std::min(shortestText, kGeneralNumberWidth);
  const int decimals = decimalsOf(numberFormat);
  const double magnitude = std::abs(value);
  const double integerDigits = magnitude < 1 ? 1 : std::floor(std::log10(magnitude)) + 1;
  return (value < 0 ? 1 : 0) + integerDigits + (decimals > 0 ? 1 + decimals : 0);
}

}  // namespace

double textWidth(std::string_view utf8) {
  double width = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 || (byte >= 0xC0 && byte < 0xE0)) width += 1;  // one or two bytes: a Latin character
    else if (byte >= 0xE0) width += 2;                             // the lead byte of three or four
  }
  return width;
}

double valueWidth(const TableCell& cell, const std::string& numberFormat) {
  if (const auto* f = std::get_if<float>(&cell))
    return numberWidth(*f, numberFormat, static_cast<double>(floatText(*f).size()));
  if (const auto* d = std::get_if<double>(&cell))
    return numberWidth(*d, numberFormat, static_cast<double>(doubleText(*d).size()));
  if (const auto* n = std::get_if<long long>(&cell)) return static_cast<double>(std::to_string(*n).size());
  if (const auto* text = std::get_if<std::string>(&cell)) return textWidth(*text);
  if (std::holds_alternative<CalendarDateTime>(cell)) return kDateTimeWidth;
  return 0;
}

double columnWidth(std::string_view heading, const TableCell& first, const std::string& numberFormat) {
  const double value = valueWidth(first, numberFormat);
  const double width = std::max(textWidth(heading) * kBoldWidening, value > 0 ? value + kDigitsHeadroom : 0);
  return std::min(std::ceil(width) + kCellMargin, kWidestColumn);
}

}  // namespace pq
