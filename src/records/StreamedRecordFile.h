#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "records/MeasurementRecord.h"
#include "records/RecordHead.h"

namespace pq {

// The memory a streamed file decodes its records into: two chunks, one the caller works on, one being
// decoded. A reader of several files in turn keeps one for all of them, since fresh memory for each
// file has the kernel clear some 15 MB of pages every time (a twentieth of a survey's time).
class StreamedChunks {
 public:
  static constexpr int kCount = 2;
  // The records of a chunk: the first chunk holds a file's first records, enough for its recording
  // interval (RecordTimeGate.h).
  static constexpr std::size_t kRecords = 4096;

  StreamedChunks();
  MeasurementRecord* operator[](int k) { return chunks_[static_cast<std::size_t>(k)].get(); }

 private:
  std::array<std::unique_ptr<MeasurementRecord[]>, kCount> chunks_;
};

// A record file read as a stream of chunks of records, without the store: a thread of its own
// decodes the frames (RecordFileReader) into the next chunk while the caller works on the one before,
// so that a survey reads a file with both cores in two chunks' memory (some 15 MB) rather than the
// store's 160 MB.
class StreamedRecordFile {
 public:
  static constexpr std::size_t kChunkRecords = StreamedChunks::kRecords;

  // Opens the file and reads its head over a head of start values; the decoding starts at once, into
  // `chunks`, which no other file may use meanwhile and which must outlive this one.
  StreamedRecordFile(const std::string& path, StreamedChunks& chunks);
  // The same into chunks of its own.
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
  void start(const std::string& path);

  std::unique_ptr<StreamedChunks> ownChunks_;  // before state_, which decodes into it
  std::unique_ptr<State> state_;
};

}  // namespace pq
