#include "records/RecordFileWriter.h"

#include <algorithm>
#include <cstring>

#include "records/InstrumentEncoding.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileMessages.h"
#include "records/RecordStore.h"

namespace pq {

namespace rf = recordfile;

namespace {

constexpr std::size_t kBufferedFrames = 512;  // about 1 MB per write

void putName(const std::string& name, std::uint8_t* field) {
  std::memset(field, 0, rf::kNameSize);
  std::memcpy(field, name.data(), std::min(name.size(), rf::kNameSize));
}

void encodeHead(const RecordFileHead& head, std::uint8_t* out) {
  std::memset(out, 0xAA, rf::kHeadSize);
  putName(head.substationName, out + rf::kSubstationName);
  putName(head.measuringPointName, out + rf::kMeasuringPointName);
  std::memset(out + rf::kVoltageLevelCode, head.voltageLevelCode, 4);
  encodeFloat(head.minShortCircuitCapacity, out + rf::kMinShortCircuitCapacity);
  encodeFloat(head.supplyEquipmentCapacity, out + rf::kSupplyEquipmentCapacity);
  encodeFloat(head.agreedCapacity, out + rf::kAgreedCapacity);
  encodeFloat(head.ptRatio, out + rf::kPtRatio);
  encodeFloat(head.ctRatio, out + rf::kCtRatio);
}

}  // namespace

RecordFileHead RecordFileHead::of(const RecordStore& store) {
  return {store.substationName,
          store.measuringPointName,
          store.voltageLevelCode,
          store.minShortCircuitCapacity,
          store.supplyEquipmentCapacity,
          store.agreedCapacity,
          store.ptRatio,
          store.ctRatio};
}

void encodeFrame(const MeasurementRecord& record, const RecordScaling& scaling, std::uint8_t* frame) {
  std::memcpy(frame, rf::kSync.data(), rf::kSync.size());
  std::uint8_t* body = frame + rf::kSync.size();
  for (std::size_t i = 0; i < rf::kByteCells; ++i) body[i] = static_cast<std::uint8_t>(record.cells[i]);
  std::memset(body + rf::kByteCells, 0, rf::kValueBlock - rf::kByteCells);
  for (int cell = rf::kFirstValueCell; cell <= rf::kLastValueCell; ++cell) {
    encodeFloat(record.value(cell) / scaling.ofCell(cell), body + rf::valueOffset(cell));
  }
  for (int channel = 0; channel < kChannelCount; ++channel) {
    const float factor = scaling.ofChannel(channel);
    std::uint8_t* block = body + rf::harmonicOffset(channel, 1);
    for (int order = 1; order <= kHarmonicOrders; ++order) {
      encodeFloat(record.harmonic(channel, order) / factor, block + 4 * (order - 1));
    }
  }
  body[rf::kChecksum] = rf::bodyChecksum(body);
}

RecordFileWriter::RecordFileWriter(const std::string& path)
    : file_(path), buffer_(kBufferedFrames * rf::kFrameSize) {}

bool RecordFileWriter::open(const RecordFileHead& head) {
  if (!file_.open()) return false;
  opened_ = true;
  std::uint8_t bytes[rf::kHeadSize];
  encodeHead(head, bytes);
  return file_.write(bytes, sizeof bytes);
}

bool RecordFileWriter::writeRecord(const MeasurementRecord& record, const RecordScaling& scaling) {
  if (used_ + rf::kFrameSize > buffer_.size() && !flush()) return false;
  encodeFrame(record, scaling, buffer_.data() + used_);
  used_ += rf::kFrameSize;
  return true;
}

bool RecordFileWriter::flush() {
  const bool ok = file_.write(buffer_.data(), used_);
  used_ = 0;
  return ok;
}

bool RecordFileWriter::commit() { return flush() && file_.commit(); }

bool rewriteRecordFile(const RecordStore& store, std::string* failure) {
  const auto fail = [failure](std::string message) {
    if (failure != nullptr) *failure = std::move(message);
    return false;
  };
  if (store.incompleteImport) return fail(messages::kPartialStoreNotWritten);
  RecordFileWriter writer(store.fileName);
  bool written = writer.open(RecordFileHead::of(store));
  if (!written && !writer.opened()) return fail(messages::kFileMissing);
  const RecordScaling scaling = RecordScaling::fromRatios(store.ptRatio, store.ctRatio);
  for (int i = 0; written && i < store.recordCount(); ++i)
    written = writer.writeRecord(store.record(i), scaling);
  if (written && writer.commit()) return true;
  return fail(messages::kRewriteFailed + writer.error());
}

}  // namespace pq
