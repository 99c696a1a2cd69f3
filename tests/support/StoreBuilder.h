#pragma once

#include "records/RecordStore.h"
#include "timerange/Clock.h"

namespace pq::test {

// Appends a record stamped 20yy-mm-dd hh:mm:ss (BCD, as the instrument writes it) with the given
// wiring mode and every value 0; returns it for the test to fill.
MeasurementRecord& appendRecord(RecordStore& store, int year, int month, int day, int hour, int minute,
                                int second = 0, int wiringMode = 1);

// Gives every float cell of the record (cells 11..471) a value of its own, shared by no other cell of
// it nor of a record filled with another seed 0..2, in the range the cell's quantity takes in practice
// (voltages near 5.8, currents near 1.5, powers of some hundreds, harmonics of a few percent). Cells that
// nothing shows carry values above 900, so that reading one of them stands out.
void fillDistinctValues(MeasurementRecord& record, int seed);

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
