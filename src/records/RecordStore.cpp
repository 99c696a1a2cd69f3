#include "records/RecordStore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "records/InstrumentEncoding.h"

namespace pq {

// Filling 156 MiB in 4 KiB pages costs some 40 000 page faults, each zeroing its page; in 2 MiB
// pages it is 78 (docs/performance.md: the whole `info` run of a full day).
RecordStore::RecordStore()
    : block_(sizeof(MeasurementRecord) * kCapacity),
      records_(static_cast<MeasurementRecord*>(block_.data())) {
  resetDefaults();
}

RecordStore::~RecordStore() = default;

void RecordStore::resetDefaults() {
  rangeStart = 0;
  rangeEnd = 0;
  resetHead();
}

bool RecordStore::append(const MeasurementRecord& record) {
  MeasurementRecord* slot = nextSlot();
  if (slot == nullptr) return false;
  *slot = record;
  commitAppend();
  return true;
}

MeasurementRecord* RecordStore::nextSlot() { return isFull() ? nullptr : &records_[recordCount()]; }

void RecordStore::commitAppend() {
  const int count = recordCount();
  records_[count].setInteger(cells::sequenceNumber, count);
  recordCount_.store(count + 1, std::memory_order_release);
}

void RecordStore::deleteRange(int first, int n) {
  const int count = recordCount();
  if (first < 0 || first >= count || n <= 0) return;
  n = std::min(n, count - first);
  recordCount_.store(count - n, std::memory_order_release);
  std::memmove(&records_[first], &records_[first + n],
               sizeof(MeasurementRecord) * static_cast<std::size_t>(count - n - first));
}

RecordTime recordTimeOf(const MeasurementRecord& r) {
  auto field = [&](int i) { return decodeBcd(static_cast<std::uint8_t>(r.cells[cells::timeBcd + i])); };
  return {field(0), field(1), field(2), field(3), field(4), field(5)};
}

std::string RecordStore::recordTimeText(int index) const {
  const auto& r = records_[index];
  auto byte = [&](int i) { return static_cast<unsigned>(r.cells[cells::timeBcd + i] & 0xFF); };
  char text[32];
  std::snprintf(text, sizeof text, "20%2x-%2x-%2x %2x:%2x:%2x\n", byte(0), byte(1), byte(2), byte(3), byte(4),
                byte(5));
  return text;
}


}  // namespace pq
