#pragma once

#include <cstddef>

namespace pq {

// A large block of memory that reads as zero and costs resident memory only where it is touched,
// laid out so the kernel may back it with 2 MiB huge pages: taken straight from the kernel,
// aligned to 2 MiB and advised MADV_HUGEPAGE. Where huge pages are off or unknown the advice is
// refused and the block stays in ordinary pages. A touched huge page costs 2 MiB at once, so a
// store that holds a few records costs 2 MiB rather than a few KiB. Throws std::bad_alloc when
// the memory cannot be had. Not copyable; freed on destruction.
class ZeroedBlock {
 public:
  static constexpr std::size_t kHugePageSize = std::size_t{2} << 20;
  static constexpr std::size_t kSmallPageSize = 4096;

  // hugePageAdvice is the madvise() advice given to the block; tests pass one the kernel refuses.
  explicit ZeroedBlock(std::size_t bytes, int hugePageAdvice = defaultAdvice());
  ~ZeroedBlock();
  ZeroedBlock(const ZeroedBlock&) = delete;
  ZeroedBlock& operator=(const ZeroedBlock&) = delete;

  void* data() const { return data_; }
  std::size_t size() const { return size_; }

  static int defaultAdvice();

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace pq
