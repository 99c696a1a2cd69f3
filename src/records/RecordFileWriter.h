#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "records/MeasurementRecord.h"
#include "records/RecordScaling.h"

namespace pq {

class RecordStore;

// The head values a record file carries. Names are raw GBK bytes.
struct RecordFileHead {
  std::string substationName;
  std::string measuringPointName;
  std::uint8_t voltageLevelCode = 0;
  float minShortCircuitCapacity = 0;
  float supplyEquipmentCapacity = 0;
  float agreedCapacity = 0;
  float ptRatio = 1;
  float ctRatio = 1;

  static RecordFileHead of(const RecordStore& store);
};

// Writes a record file as a whole: the head, then one frame per record with the scaling divided
// out. Nothing replaces the target until commit() succeeds.
class RecordFileWriter {
 public:
  explicit RecordFileWriter(const std::string& path);

  bool open(const RecordFileHead& head);
  bool writeRecord(const MeasurementRecord& record, const RecordScaling& scaling);
  bool commit();
  const std::string& error() const { return file_.error(); }

 private:
  bool flush();

  AtomicFile file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
};

// The frame of one record: sync, body with the scaling divided out, checksum over what was written.
void encodeFrame(const MeasurementRecord& record, const RecordScaling& scaling, std::uint8_t* frame);

// Writes the store's head and records over its record file. False when the file cannot be written,
// or when the store holds only part of the file (an import stopped by a read error); the file is then
// as it was.
bool rewriteRecordFile(const RecordStore& store);

}  // namespace pq
