#pragma once

#include "records/RecordStore.h"
#include "timerange/Clock.h"

namespace pq::test {

// Appends a record stamped 20yy-mm-dd hh:mm:ss (BCD, as the instrument writes it) with the given
// wiring mode and every value 0; returns it for the test to fill.
MeasurementRecord& appendRecord(RecordStore& store, int year, int month, int day, int hour, int minute,
                                int second = 0, int wiringMode = 1);

// Writes raw BCD time bytes, for stamps that are no valid date.
void setTimeBytes(MeasurementRecord& record, const unsigned (&bytes)[6]);

class FixedClock : public Clock {
 public:
  explicit FixedClock(CalendarDate date) : date_(date) {}
  CalendarDate today() const override { return date_; }

 private:
  CalendarDate date_;
};

}  // namespace pq::test
