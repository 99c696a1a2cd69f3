#pragma once

#include <string>
#include <string_view>

namespace pq {

// Formats a number with a decimal picture such as "0.000 V", "  0.00%" or "0.0%": '0' is a mandatory
// digit, '.' the decimal point, every other character is copied literally (a '%' never scales).
// The exact binary value is rounded to the picture's decimals, halves away from zero; a negative value
// that rounds to zero keeps its sign. Not-a-number and infinities print as "NAN", "INF" and "-INF".
std::string formatPicture(double value, std::string_view picture);

}  // namespace pq
