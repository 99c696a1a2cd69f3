#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace pq {

// One raw deflate stream (no zlib or gzip wrapper, as a ZIP entry holds it) compressed on every
// core: the bytes are cut into chunks that worker threads compress each on its own while the caller
// goes on producing the next ones. A chunk ends with a sync flush, which closes its blocks on a byte
// boundary without marking them last, so the chunks in order make one valid stream; the last chunk
// ends the stream. Each chunk starts without the previous one's history, which costs a little
// compression at the start of every chunk and nothing in correctness.
//
// The compressed bytes reach the sink on the caller's thread, in order; at most two chunks per
// worker are held at once, so memory stays bounded however long the stream. A stream of a single
// chunk is compressed on the caller's thread without starting any worker.
class ParallelDeflate {
 public:
  // Takes the compressed bytes in order; false (a failed write) ends the output: later bytes are
  // dropped and write() and finish() return false.
  using Sink = std::function<bool(const void* data, std::size_t size)>;

  static constexpr std::size_t kChunkSize = std::size_t{1} << 20;

  explicit ParallelDeflate(Sink sink, std::size_t chunkSize = kChunkSize,
                           unsigned workers = std::thread::hardware_concurrency());
  ~ParallelDeflate();
  ParallelDeflate(const ParallelDeflate&) = delete;
  ParallelDeflate& operator=(const ParallelDeflate&) = delete;

  bool write(std::string_view data);
  // Ends the stream and waits for its last bytes. Call once, after the last write().
  bool finish();

  // The uncompressed bytes' CRC-32 and count, and the compressed count, complete after finish().
  std::uint32_t crc() const { return crc_; }
  std::uint64_t size() const { return size_; }
  std::uint64_t compressedSize() const { return compressedSize_; }

 private:
  struct Chunk;
  class Compressor;

  void submit(bool last);
  void putOut(Chunk& chunk);
  void work();

  Sink sink_;
  std::size_t chunkSize_;
  unsigned workerCount_;
  std::unique_ptr<Chunk> filling_;
  std::deque<std::unique_ptr<Chunk>> inOrder_;  // submitted, oldest first; only this thread touches it
  std::vector<std::unique_ptr<Chunk>> spare_;

  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable compressed_;
  std::deque<Chunk*> waiting_;  // under mutex_, as is each chunk's `done`
  bool stopping_ = false;
  std::vector<std::thread> workers_;  // started with the second chunk

  bool failed_ = false;
  std::uint32_t crc_ = 0;
  std::uint64_t size_ = 0;
  std::uint64_t compressedSize_ = 0;
};

}  // namespace pq
