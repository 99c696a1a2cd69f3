#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace pq::OstrelComm32 {

// A byte ring for exactly one producer thread and one consumer thread, without locks: the producer
// alone moves the write index and the consumer alone moves the read index, each published with
// release ordering and read by the other side with acquire ordering. One byte always stays empty, so
// a queue of capacity N holds at most N - 1 bytes.
//
// fSetBufSize and Clear move both indexes; the owner calls them only while neither side runs
// (TComm32 guards its queues for this).
class TCommQueue {
 public:
  // A size the memory cannot hold leaves the queue without a buffer; construction still succeeds.
  explicit TCommQueue(long size);
  virtual ~TCommQueue() = default;
  TCommQueue(const TCommQueue&) = delete;
  TCommQueue& operator=(const TCommQueue&) = delete;

  // Discards the content. size > 0 reallocates (EComm32Error code 1 when that fails, the old buffer
  // kept); size <= 0 releases the buffer and keeps the capacity value.
  void fSetBufSize(long size);

  long In(const char* ch);
  long In(const char* src, long n);
  long Out(char* ch);
  long Out(char* dst, long n);

  long Capacity() const { return capacity_; }
  bool HasBuffer() const { return buffer_ != nullptr; }
  long Count() const;
  long Free() const;
  void Clear();

 private:
  std::int32_t capacity_ = 0;
  std::atomic<std::int32_t> readIndex_{0};
  std::atomic<std::int32_t> writeIndex_{0};
  std::unique_ptr<char[]> buffer_;
};

}  // namespace pq::OstrelComm32
