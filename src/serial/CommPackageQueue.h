#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace pq::OstrelComm32 {

// A ring of fixed-size slots, each holding one package record (32-bit length, then the data), for
// one producer thread and one consumer thread: each index has one writer, published with release
// ordering. One slot always stays empty. SetQueue, Clear and fRemoveQueue belong to the owner while
// neither side runs (TCommPackage holds its lock for them).
class TCommPackageQueue {
 public:
  TCommPackageQueue(long slots, long size);
  virtual ~TCommPackageQueue() = default;
  TCommPackageQueue(const TCommPackageQueue&) = delete;
  TCommPackageQueue& operator=(const TCommPackageQueue&) = delete;

  // At least 2 slots of at least 32 bytes; the content is lost. EComm32Error code 1 when the memory
  // cannot be had (the queue is then without buffer).
  void SetQueue(long slots, long size);
  // Copies one slot's worth of bytes from p into the next free slot; 1, or 0 when full.
  long In(const void* p);
  // Copies the oldest slot into p and removes it; 1, or 0 when empty.
  long Out(void* p);
  // Copies the index-th oldest slot into p without removing it; 0 when there is none.
  long Read(void* p, unsigned long index) const;
  // The length field of the oldest record; 0 when empty.
  std::uint32_t FrontLength() const;
  void fRemoveQueue();
  void Clear();

  std::uint32_t Count() const;
  std::uint32_t SlotCount() const { return slotCount_; }
  std::uint32_t SlotSize() const { return slotSize_; }

 private:
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::atomic<std::uint32_t> readIndex_{0};
  std::atomic<std::uint32_t> writeIndex_{0};
  std::uint32_t slotCount_ = 2;
  std::uint32_t slotSize_ = 32;
};

}  // namespace pq::OstrelComm32
