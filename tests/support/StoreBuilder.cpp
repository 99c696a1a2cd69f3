#include "support/StoreBuilder.h"

namespace pq::test {

namespace {
std::uint32_t bcd(int value) { return static_cast<std::uint32_t>((value / 10) << 4 | value % 10); }

double distinctValue(int c, int s) {
  using namespace cells;
  const double r = ((c * 7919 + s * 104729) % 1000) / 1e7;  // makes every value non-round
  if (c == spare) return 3.1 + 0.21 * s + r;
  if (uaRms <= c && c <= ucMin) return 5.77 + 0.0913 * (c - uaRms) + 0.0171 * s + r;
  if (iaRms <= c && c <= icRms) return 1.3 + 0.27 * (c - iaRms) + 0.041 * s + r;
  if (pA <= c && c <= pC) return 312.7 + 41.3 * (c - pA) + 5.3 * s + r;
  if (angleUaUb <= c && c <= angleUcIc) return 11.3 + 37.9 * (c - angleUaUb) + 1.7 * s + r;
  if (c == frequency) return 49.9713 + 0.0217 * s + r;
  if (uZero <= c && c <= uNegative)
    return (c == uZero ? 0.0371 : c == uPositive ? 5.81 : 0.1237) + 0.0031 * s + r;
  if (c == uUnbalance) return 1.37 + 0.11 * s + r;
  if (iZero <= c && c <= iNegative)
    return (c == iZero ? 0.0213 : c == iPositive ? 1.57 : 0.0862) + 0.0029 * s + r;
  if (c == iUnbalance) return 4.73 + 0.13 * s + r;
  if (qA <= c && c <= qC) return 97.3 + 13.7 * (c - qA) + 2.9 * s + r;
  if (pfA <= c && c <= pfTotal) return 0.9137 + 0.0191 * (c - pfA) + 0.0023 * s + r;
  const int channel = (c - harmonic(0, 0)) / 66;
  const int order = (c - harmonic(0, 0)) % 66;
  if (c > harmonic(0, 0) && 1 <= order && order <= 64) {
    if (channel < 3) {
      return order == 1 ? 5.73 + 0.07 * channel + 0.013 * s + r
                        : 0.0113 + 0.0047 * (order - 2) + 0.0019 * channel + 0.0007 * s + r;
    }
    return order == 1 ? 1.41 + 0.23 * (channel - 3) + 0.017 * s + r
                      : 0.0213 + 0.0061 * (order - 2) + 0.0023 * (channel - 3) + 0.0009 * s + r;
  }
  return 900 + 1.1 * c + 0.37 * s + r;
}
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

void fillDistinctValues(MeasurementRecord& record, int seed) {
  for (int c = 11; c < cells::sequenceNumber; ++c)
    record.setValue(c, static_cast<float>(distinctValue(c, seed)));
}

void setTimeBytes(MeasurementRecord& record, const unsigned (&bytes)[6]) {
  for (int i = 0; i < 6; ++i) record.cells[cells::timeBcd + i] = bytes[i];
}

}  // namespace pq::test
