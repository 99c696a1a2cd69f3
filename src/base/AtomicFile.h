#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pq {

// Replaces a file as a whole or not at all: the content goes to a temporary file in the target's
// folder, is flushed to disk and renamed over the target by commit(). Until commit() succeeds the
// original stays untouched; a writer destroyed without commit removes its temporary file.
// A target that is a symbolic link is replaced where the link points, and keeps its permissions.
//
// The temporary file is hidden and named after the target: ".NAME.tmp-XXXXXX" beside NAME, so no
// file dialog filter such as "*.bin" offers it. Its writer holds a lock on it; a temporary of the
// same target that nobody holds was left by a writer that was killed, and the next open() for that
// target removes it, so killed saves never pile up.
class AtomicFile {
 public:
  explicit AtomicFile(std::string targetPath);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file. Fails when the folder is not writable or an existing target is not
  // writable by this process (the same refusal a write-open of the target would give).
  bool open();
  bool write(const void* data, std::size_t size);
  // Overwrites bytes written before, at `offset` from the start: for a format whose head holds what
  // is known only at the end.
  bool writeAt(std::uint64_t offset, const void* data, std::size_t size);
  bool commit();

  // The system's description of the first failure.
  const std::string& error() const { return error_; }

 private:
  bool fail(const char* what);
  void discard();
  bool createTemporary();
  void removeStaleTemporaries() const;

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  std::string error_;
};

}  // namespace pq
