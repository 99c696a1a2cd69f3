#include "base/ZeroedBlock.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace pq {

namespace {

std::size_t roundUp(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit * unit; }

}  // namespace

int ZeroedBlock::defaultAdvice() { return MADV_HUGEPAGE; }

ZeroedBlock::ZeroedBlock(std::size_t bytes, int hugePageAdvice) {
  // Whole small pages: a last huge page only partly used stays in small pages, so the block costs no
  // more than its size once it is touched whole.
  if (bytes > SIZE_MAX - 2 * kHugePageSize) throw std::bad_alloc();
  size_ = roundUp(bytes == 0 ? 1 : bytes, kSmallPageSize);
  // The kernel only maps a huge page at a 2 MiB boundary, and an anonymous mapping starts on any
  // 4 KiB one: map one huge page more and give back the ends around the aligned block.
  const std::size_t mapped = size_ + kHugePageSize;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = roundUp(start, kHugePageSize);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::size_t tail = start + mapped - (aligned + size_);
  ::munmap(reinterpret_cast<void*>(aligned + size_), tail);
  data_ = reinterpret_cast<void*>(aligned);
  // Only a request: a kernel without transparent huge pages, or with them set to "never", refuses
  // or ignores it, and the block works the same in small pages.
  (void)::madvise(data_, size_, hugePageAdvice);
}

ZeroedBlock::~ZeroedBlock() { ::munmap(data_, size_); }

}  // namespace pq
