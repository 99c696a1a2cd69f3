#include "export/ValueText.h"

#include <charconv>
#include <cmath>

namespace pq {

namespace {

template <typename Number>
std::string shortestText(Number value) {
  if (std::isnan(value)) return "nan";  // whatever its sign bit
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string floatText(float value) { return shortestText(value); }

std::string doubleText(double value) { return shortestText(value); }

}  // namespace pq
