#pragma once

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>

#include "base/ZeroedBlock.h"
#include "records/MeasurementRecord.h"
#include "records/RecordHead.h"
#include "records/RecordQuantities.h"

namespace pq {

// The decoded time stamp of a record: year 0..99 stands for 2000..2099. A BCD byte with a digit
// above 9 gives -1 in its field.
struct RecordTime {
  int year, month, day, hour, minute, second;
  bool operator==(const RecordTime&) const = default;
};

// The decoded time stamp of a record.
RecordTime recordTimeOf(const MeasurementRecord& record);

// The one in-memory store of a process: up to 86 400 records in one preallocated block, plus the
// values of the record file's head. One thread fills and changes it; while an import appends, one
// other thread may read the records below recordCount() (a survey aggregates a file as it is read),
// since the count is published only after its record is complete. The block is a
// ZeroedBlock: resident only as records are filled, in huge pages where the system allows them, and
// construction throws std::bad_alloc when the memory cannot be had.
//
// The head fields (RecordHead) and the range are plain data that several windows read and set; the records are reached by
// index (0 <= index < recordCount()) and change only through append, clear and the deletes.
class RecordStore : public RecordHead {
 public:
  static constexpr int kCapacity = 86400;

  RecordStore();
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Puts the head fields and the range to their start values; the records are not touched.
  void resetDefaults();
  // Forgets the records; their cells stay as they are and are overwritten by the next import.
  void clear() { recordCount_.store(0, std::memory_order_release); }
  // Stores the record at index recordCount() with that index as its sequence number; false when full.
  bool append(const MeasurementRecord& record);
  // The slot append would fill, for readers that build a record in place; nullptr when full.
  // commitAppend() then counts it, setting its sequence number.
  MeasurementRecord* nextSlot();
  void commitAppend();
  // Remove records and close the gap by moving whole records; indexes outside the records in use
  // are cut to them.
  void deleteAt(int index) { deleteRange(index, 1); }
  void deleteRange(int first, int n);

  int recordCount() const { return recordCount_.load(std::memory_order_acquire); }
  bool isFull() const { return recordCount() >= kCapacity; }
  const MeasurementRecord& record(int index) const { return records_[index]; }
  MeasurementRecord& record(int index) { return records_[index]; }
  float value(int index, int cell) const { return records_[index].value(cell); }
  // The records [first, first + count), which lie one after another in the block.
  std::span<const MeasurementRecord> records(int first, int count) const {
    return {records_ + first, static_cast<std::size_t>(count)};
  }
  // Every record in use.
  std::span<const MeasurementRecord> records() const { return records(0, recordCount()); }

  RecordTime recordTime(int index) const { return recordTimeOf(records_[index]); }
  // "20%2x-%2x-%2x %2x:%2x:%2x\n" of the six raw BCD bytes: a byte below 0x10 prints as a blank and
  // one digit, and the text ends with a line feed.
  std::string recordTimeText(int index) const;

  float totalActivePower(int index) const { return pq::totalActivePower(records_[index]); }
  float totalReactivePower(int index) const { return pq::totalReactivePower(records_[index]); }
  // Whether harmonics relate to the channel's fundamental (RecordQuantities.h).
  bool hasFundamental(int index, int channel) const { return pq::hasFundamental(records_[index], channel); }
  // Harmonic content of order n (1..64) in percent of the fundamental; 0 without a fundamental.
  double harmonicPercent(int index, int channel, int order) const {
    if (!hasFundamental(index, channel)) return 0.0;
    const auto& r = records_[index];
    return static_cast<double>(r.harmonic(channel, order)) / r.harmonic(channel, 1) * 100.0;
  }
  // Total harmonic distortion over orders 2..64 in percent of the fundamental.
  double thd(int index, int channel) const { return thdOf(records_[index], channel); }
  std::array<double, kChannelCount> thdOfChannels(int index) const { return pq::thdOfChannels(records_[index]); }

  std::int32_t rangeStart = 0;
  std::int32_t rangeEnd = 0;  // exclusive
  // Set when the last import stopped at a read error: the store then holds only the start of the
  // file, and writing it back would destroy the rest.
  bool incompleteImport = false;

 private:
  ZeroedBlock block_;
  MeasurementRecord* records_;
  std::atomic<int> recordCount_ = 0;
};

}  // namespace pq
