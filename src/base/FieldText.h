#pragma once

#include <string>
#include <string_view>

namespace pq {

// Readings of the texts typed into edit fields, with the conversions' failures raised as
// ConversionError (the application shows them in its central error report).

// The text without leading and trailing blanks and control characters.
std::string_view trimmedField(std::string_view text);

// A whole decimal number, blanks around it allowed.
long long fieldInteger(std::string_view text);

// A decimal number such as "182.000  ", blanks around it allowed.
double fieldDecimal(std::string_view text);

// A value in general number format: at most 15 significant digits, no trailing zeros (100 gives
// "100", 0.5 gives "0.5").
std::string generalNumberText(double value);

}  // namespace pq
