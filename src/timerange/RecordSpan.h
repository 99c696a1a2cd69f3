#pragma once

#include <span>

#include "timerange/CalendarDateTime.h"

namespace pq {

class RecordStore;
struct MeasurementRecord;

// A half-open range of record indexes.
struct IndexRange {
  int start = 0;
  int end = 0;
  bool operator==(const IndexRange&) const = default;
};

// The range cut to the records in use: a range kept from before a deletion may reach past them.
IndexRange recordsInUse(const RecordStore& store, IndexRange range);
// The records of the range cut to those in use, one after another in the store: what the aggregation
// and the assessment are handed, so that they never see the store itself.
std::span<const MeasurementRecord> recordsOfRange(const RecordStore& store, IndexRange range);

// Maps the span [start, end] onto the stored records, which are taken to be in ascending time
// order: [0, 0) when every record lies on one side of the span; otherwise from the first record at
// or after `start` (0 when start is not after the first record) to the first record at or after
// `end` (the record count when end is not before the last record). The store must hold a record.
// A record time met on the way that is no valid date-time throws ConversionError.
IndexRange findRecordSpan(const RecordStore& store, const CalendarDateTime& start,
                          const CalendarDateTime& end);

}  // namespace pq
