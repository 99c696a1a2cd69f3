#include "timerange/RecordSpan.h"

#include <algorithm>

#include "records/RecordStore.h"

namespace pq {

namespace {

// The smallest index whose time is at or after `moment`, scanning from the start as the
// records need not be strictly ordered; the record count when there is none.
int firstRecordFrom(const RecordStore& store, const CalendarDateTime& moment) {
  const int n = store.recordCount();
  for (int i = 0; i < n; ++i) {
    if (CalendarDateTime::ofRecord(store, i) >= moment) return i;
  }
  return n;
}

}  // namespace

IndexRange recordsInUse(const RecordStore& store, IndexRange range) {
  return {std::max(0, range.start), std::min(range.end, store.recordCount())};
}

std::span<const MeasurementRecord> recordsOfRange(const RecordStore& store, IndexRange range) {
  range = recordsInUse(store, range);
  if (range.end <= range.start) return {};
  return store.records(range.start, range.end - range.start);
}

IndexRange findRecordSpan(const RecordStore& store, const CalendarDateTime& start,
                          const CalendarDateTime& end) {
  const int n = store.recordCount();
  const CalendarDateTime first = CalendarDateTime::ofRecord(store, 0);
  const CalendarDateTime last = CalendarDateTime::ofRecord(store, n - 1);
  if ((start < first && end < first) || (start > last && end > last)) return {0, 0};
  return {start <= first ? 0 : firstRecordFrom(store, start), end >= last ? n : firstRecordFrom(store, end)};
}

}  // namespace pq
