#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/MeasurementRecord.h"
#include "records/RecordHead.h"

namespace pq {

// Reads a record file's frames one after another, for the import into the store and for a survey that
// streams a file's records without it: the head into a RecordHead, then each frame found by the sync
// scan whose checksum is right, decoded into a record scaled by the head's transformer ratios. Any
// byte sequence is accepted; what is not a valid frame is skipped. Only regular files open: a device
// such as /dev/zero would never end and a named pipe would never start.
class RecordFileReader {
 public:
  explicit RecordFileReader(const std::string& path);
  ~RecordFileReader();
  RecordFileReader(const RecordFileReader&) = delete;
  RecordFileReader& operator=(const RecordFileReader&) = delete;

  bool opened() const;
  long long fileSize() const;
  // The whole frames the file's size holds: the most records it can give.
  long long wholeFrames() const;

  // Reads the head over `head`: a level code it does not know keeps the head's nominal voltage, as
  // the import always has. Nothing changes when the head cannot be read. Sets the frames' scaling.
  void readHead(RecordHead& head);
  // The body of the next frame with a right checksum; nullptr at the end of the file or after a read
  // error. Valid until the next call.
  const std::uint8_t* nextValidBody();
  // The record of a body nextValidBody gave.
  void decode(const std::uint8_t* body, MeasurementRecord& record) const;
  // The next valid frame decoded into `record`; false at the end or after a read error.
  bool next(MeasurementRecord& record);

  // After the end: whether a read failed (errorNumber() says why), or the file ended before its size,
  // cut while it was read.
  bool failed() const;
  int errorNumber() const;
  bool cutWhileRead() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pq
