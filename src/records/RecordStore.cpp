#include "records/RecordStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "records/InstrumentEncoding.h"

namespace pq {

RecordStore::RecordStore() {
  // calloc hands out a block this large as fresh zero pages, so the 156 MiB cost resident memory
  // only as records are filled.
  void* block = std::calloc(kCapacity, sizeof(MeasurementRecord));
  if (block == nullptr) throw std::bad_alloc();
  records_.reset(static_cast<MeasurementRecord*>(block));
  resetDefaults();
}

RecordStore::~RecordStore() = default;

void RecordStore::FreeBlock::operator()(MeasurementRecord* block) const { std::free(block); }

void RecordStore::resetDefaults() {
  rangeStart = 0;
  rangeEnd = 0;
  fileName.clear();
  substationName = "XXX";
  measuringPointName = "XXX";
  voltageLevelCode = 0;
  nominalVoltage = 0;
  minShortCircuitCapacity = 100.0f;
  supplyEquipmentCapacity = 120.0f;
  agreedCapacity = 120.0f;
  ptRatio = 1.0f;
  ctRatio = 1.0f;
}

bool RecordStore::append(const MeasurementRecord& record) {
  MeasurementRecord* slot = nextSlot();
  if (slot == nullptr) return false;
  *slot = record;
  commitAppend();
  return true;
}

MeasurementRecord* RecordStore::nextSlot() { return isFull() ? nullptr : &records_[recordCount_]; }

void RecordStore::commitAppend() {
  records_[recordCount_].setInteger(cells::sequenceNumber, recordCount_);
  ++recordCount_;
}

void RecordStore::deleteRange(int first, int n) {
  if (first < 0 || first >= recordCount_ || n <= 0) return;
  n = std::min(n, recordCount_ - first);
  recordCount_ -= n;
  std::memmove(&records_[first], &records_[first + n],
               sizeof(MeasurementRecord) * static_cast<std::size_t>(recordCount_ - first));
}

RecordTime RecordStore::recordTime(int index) const {
  const auto& r = records_[index];
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

float RecordStore::totalActivePower(int index) const {
  const auto& r = records_[index];
  return r.value(cells::pA) + r.value(cells::pB) + r.value(cells::pC);
}

float RecordStore::totalReactivePower(int index) const {
  const auto& r = records_[index];
  return r.value(cells::qA) + r.value(cells::qB) + r.value(cells::qC);
}

namespace {
double fundamentalThreshold(int channel) { return isVoltageChannel(channel) ? 0.05 : 0.001; }
}  // namespace

double RecordStore::harmonicPercent(int index, int channel, int order) const {
  const auto& r = records_[index];
  const double fundamental = r.harmonic(channel, 1);
  if (!(fundamental > fundamentalThreshold(channel))) return 0.0;
  return static_cast<double>(r.harmonic(channel, order)) / fundamental * 100.0;
}

double RecordStore::thd(int index, int channel) const {
  const auto& r = records_[index];
  double sumOfSquares = 0.0;
  for (int order = 2; order <= 64; ++order) {
    const double h = r.harmonic(channel, order);
    sumOfSquares += h * h;
  }
  const double fundamental = r.harmonic(channel, 1);
  if (fundamental > 0.001 && sumOfSquares > 0.0) return std::sqrt(sumOfSquares) / fundamental * 100.0;
  return 0.0;
}

const char* RecordStore::voltageUnit() const { return ptRatio > 1.0f ? "KV" : "V"; }
const char* RecordStore::activePowerUnit() const { return ptRatio > 1.0f ? "KW" : "W"; }
const char* RecordStore::reactivePowerUnit() const { return ptRatio > 1.0f ? "KVar" : "Var"; }

}  // namespace pq
