#pragma once

#include <stdexcept>
#include <string>

namespace pq {

// A text that does not convert to a number or a date-time. The application shows it through its
// central error report and the action that met it stops.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pq
