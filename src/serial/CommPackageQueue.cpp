#include "serial/CommPackageQueue.h"

#include <cstring>
#include <limits>
#include <new>

#include "serial/Comm32Error.h"
#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {

TCommPackageQueue::TCommPackageQueue(long slots, long size) { SetQueue(slots, size); }

void TCommPackageQueue::SetQueue(long slots, long size) {
  fRemoveQueue();
  const std::uint64_t count = slots <= 2 ? 2 : static_cast<std::uint64_t>(slots);
  const std::uint64_t bytes = size <= 32 ? 32 : static_cast<std::uint64_t>(size);
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (count > kLimit || bytes > kLimit || count * bytes > (std::uint64_t{1} << 40)) {
    throw EComm32Error(comm32Errors::outOfMemory);
  }
  buffer_.reset(new (std::nothrow) std::uint8_t[count * bytes]);
  if (!buffer_) throw EComm32Error(comm32Errors::outOfMemory);
  slotCount_ = static_cast<std::uint32_t>(count);
  slotSize_ = static_cast<std::uint32_t>(bytes);
}

void TCommPackageQueue::fRemoveQueue() {
  buffer_.reset();
  Clear();
}

void TCommPackageQueue::Clear() {
  readIndex_.store(0, std::memory_order_release);
  writeIndex_.store(0, std::memory_order_release);
}

std::uint32_t TCommPackageQueue::Count() const {
  if (!buffer_) return 0;
  const std::uint32_t w = writeIndex_.load(std::memory_order_acquire);
  const std::uint32_t r = readIndex_.load(std::memory_order_acquire);
  return (w - r + slotCount_) % slotCount_;
}

long TCommPackageQueue::In(const void* p) {
  if (!buffer_ || p == nullptr) return 0;
  const std::uint32_t w = writeIndex_.load(std::memory_order_relaxed);
  const std::uint32_t r = readIndex_.load(std::memory_order_acquire);
  if ((w + 1) % slotCount_ == r) return 0;
  std::memcpy(buffer_.get() + std::size_t{w} * slotSize_, p, slotSize_);
  writeIndex_.store((w + 1) % slotCount_, std::memory_order_release);
  return 1;
}

long TCommPackageQueue::Out(void* p) {
  if (!buffer_ || p == nullptr) return 0;
  const std::uint32_t r = readIndex_.load(std::memory_order_relaxed);
  const std::uint32_t w = writeIndex_.load(std::memory_order_acquire);
  if (r == w) return 0;
  std::memcpy(p, buffer_.get() + std::size_t{r} * slotSize_, slotSize_);
  readIndex_.store((r + 1) % slotCount_, std::memory_order_release);
  return 1;
}

long TCommPackageQueue::Read(void* p, unsigned long index) const {
  if (!buffer_ || p == nullptr || index >= Count()) return 0;
  const std::uint32_t r = readIndex_.load(std::memory_order_relaxed);
  const std::size_t slot = (r + index) % slotCount_;
  std::memcpy(p, buffer_.get() + slot * slotSize_, slotSize_);
  return 1;
}

std::uint32_t TCommPackageQueue::FrontLength() const {
  if (Count() == 0) return 0;
  std::uint32_t length = 0;
  std::memcpy(&length, buffer_.get() + std::size_t{readIndex_.load(std::memory_order_relaxed)} * slotSize_,
              sizeof length);
  return length;
}

}  // namespace pq::OstrelComm32
