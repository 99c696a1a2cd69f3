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
  // Whether open() got as far as creating the file, so that a failure is one of writing.
  bool opened() const { return opened_; }
  const std::string& error() const { return file_.error(); }

 private:
  bool flush();

  AtomicFile file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
  bool opened_ = false;
};

// The frame of one record: sync, body with the scaling divided out, checksum over what was written.
void encodeFrame(const MeasurementRecord& record, const RecordScaling& scaling, std::uint8_t* frame);

// Writes the store's head and records over its record file. False when the file cannot be written,
// or when the store holds only part of the file (an import stopped by a read error); the file is then
// as it was, and `failure`, when given, receives the message to show: "文件不存在!" when the file
// cannot be opened for writing, the write failure with the system's reason when the disk is full,
// and a message of its own for a partial store.
bool rewriteRecordFile(const RecordStore& store, std::string* failure = nullptr);

}  // namespace pq
