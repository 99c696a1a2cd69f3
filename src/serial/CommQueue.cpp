#include "serial/CommQueue.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "serial/Comm32Error.h"
#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {

TCommQueue::TCommQueue(long size) {
  try {
    fSetBufSize(size);
  } catch (const EComm32Error&) {
    buffer_.reset();
  }
}

void TCommQueue::fSetBufSize(long size) {
  readIndex_.store(0, std::memory_order_relaxed);
  writeIndex_.store(0, std::memory_order_relaxed);
  if (size <= 0) {
    buffer_.reset();
    return;
  }
  // The indexes are 32-bit; a larger ring could not be addressed.
  if (size > std::numeric_limits<std::int32_t>::max()) throw EComm32Error(comm32Errors::outOfMemory);
  std::unique_ptr<char[]> fresh(new (std::nothrow) char[static_cast<std::size_t>(size)]);
  if (!fresh) throw EComm32Error(comm32Errors::outOfMemory);
  buffer_ = std::move(fresh);
  capacity_ = static_cast<std::int32_t>(size);
}

long TCommQueue::Count() const {
  if (!buffer_) return 0;
  // Index arithmetic in 64 bits: an index plus a capacity near the 32-bit limit would overflow.
  const long w = writeIndex_.load(std::memory_order_acquire);
  const long r = readIndex_.load(std::memory_order_acquire);
  return (w - r + capacity_) % capacity_;
}

long TCommQueue::Free() const {
  if (!buffer_) return 0;
  const long w = writeIndex_.load(std::memory_order_acquire);
  const long r = readIndex_.load(std::memory_order_acquire);
  return (r - w - 1 + capacity_) % capacity_;
}

void TCommQueue::Clear() {
  readIndex_.store(0, std::memory_order_release);
  writeIndex_.store(0, std::memory_order_release);
}

long TCommQueue::In(const char* ch) { return In(ch, 1); }

long TCommQueue::In(const char* src, long n) {
  if (!buffer_ || src == nullptr || n <= 0) return 0;
  const long w = writeIndex_.load(std::memory_order_relaxed);
  const long r = readIndex_.load(std::memory_order_acquire);
  const long count = std::min<long>(n, (r - w - 1 + capacity_) % capacity_);
  if (count == 0) return 0;
  const long first = std::min<long>(count, capacity_ - w);
  std::memcpy(buffer_.get() + w, src, static_cast<std::size_t>(first));
  std::memcpy(buffer_.get(), src + first, static_cast<std::size_t>(count - first));
  writeIndex_.store(static_cast<std::int32_t>((w + count) % capacity_), std::memory_order_release);
  return count;
}

long TCommQueue::Out(char* ch) { return Out(ch, 1); }

long TCommQueue::Out(char* dst, long n) {
  if (!buffer_ || dst == nullptr || n <= 0) return 0;
  const long r = readIndex_.load(std::memory_order_relaxed);
  const long w = writeIndex_.load(std::memory_order_acquire);
  const long count = std::min<long>(n, (w - r + capacity_) % capacity_);
  if (count == 0) return 0;
  const long first = std::min<long>(count, capacity_ - r);
  std::memcpy(dst, buffer_.get() + r, static_cast<std::size_t>(first));
  std::memcpy(dst + first, buffer_.get(), static_cast<std::size_t>(count - first));
  readIndex_.store(static_cast<std::int32_t>((r + count) % capacity_), std::memory_order_release);
  return count;
}

}  // namespace pq::OstrelComm32
