#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "records/MeasurementRecord.h"
#include "records/RecordHead.h"

namespace pq {

// A record file read as a stream of chunks of records, without the store: a thread of its own
// decodes the frames (RecordFileReader) into the next chunk while the caller works on the one before,
// so that a survey reads a file with both cores in two chunks' memory (some 15 MB) rather than the
// store's 160 MB.
class StreamedRecordFile {
 public:
  // The records of a chunk: the first chunk holds a file's first records, enough for its recording
  // interval (RecordTimeGate.h).
  static constexpr std::size_t kChunkRecords = 4096;

  // Opens the file and reads its head over a head of start values; the decoding starts at once.
  explicit StreamedRecordFile(const std::string& path);
  // Stops the decoding, also midway.
  ~StreamedRecordFile();
  StreamedRecordFile(const StreamedRecordFile&) = delete;
  StreamedRecordFile& operator=(const StreamedRecordFile&) = delete;

  bool opened() const;
  const RecordHead& head() const;
  long long wholeFrames() const;

  // The next chunk of records, in file order; empty at the end. Valid until the next call.
  std::span<const MeasurementRecord> next();

  // After the end: the records decoded, and whether a read failed (its errno) or the file was cut
  // while it was read.
  long long recordsRead() const;
  bool failed() const;
  int errorNumber() const;
  bool cutWhileRead() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pq
