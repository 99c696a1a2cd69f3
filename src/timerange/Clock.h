#pragma once

#include "timerange/CalendarDateTime.h"

namespace pq {

// Where "today" comes from; tests put a fixed date in its place.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual CalendarDate today() const = 0;
};

// The computer's local date.
class SystemClock : public Clock {
 public:
  CalendarDate today() const override;
};

}  // namespace pq
