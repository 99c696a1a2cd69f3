#include "support/StoreBuilder.h"

namespace pq::test {

namespace {
std::uint32_t bcd(int value) { return static_cast<std::uint32_t>((value / 10) << 4 | value % 10); }
}  // namespace

MeasurementRecord& appendRecord(RecordStore& store, int year, int month, int day, int hour, int minute,
                                int second, int wiringMode) {
  MeasurementRecord record{};
  const int fields[6] = {year % 100, month, day, hour, minute, second};
  for (int i = 0; i < 6; ++i) record.cells[cells::timeBcd + i] = bcd(fields[i]);
  record.setInteger(cells::wiringMode, wiringMode);
  store.append(record);
  return store.record(store.recordCount() - 1);
}

void setTimeBytes(MeasurementRecord& record, const unsigned (&bytes)[6]) {
  for (int i = 0; i < 6; ++i) record.cells[cells::timeBcd + i] = bytes[i];
}

}  // namespace pq::test
