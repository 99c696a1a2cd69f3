#include "base/ZeroedBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace pq {
namespace {

// Every page of the block reads as zero and takes a write, at both ends.
void expectZeroAndWritable(const ZeroedBlock& block) {
  auto* bytes = static_cast<unsigned char*>(block.data());
  for (std::size_t i = 0; i < block.size(); i += 4096) ASSERT_EQ(bytes[i], 0) << i;
  ASSERT_EQ(bytes[block.size() - 1], 0);
  bytes[0] = 1;
  bytes[block.size() - 1] = 2;
  EXPECT_EQ(bytes[0] + bytes[block.size() - 1], 3);
}

TEST(ZeroedBlockTest, ReadsZeroFromAHugePageBoundary) {
  const std::size_t sizes[] = {1, ZeroedBlock::kHugePageSize, 5 * ZeroedBlock::kHugePageSize + 1};
  for (const std::size_t bytes : sizes) {
    ZeroedBlock block(bytes);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.data()) % ZeroedBlock::kHugePageSize, 0u) << bytes;
    EXPECT_EQ(block.size() % ZeroedBlock::kSmallPageSize, 0u) << bytes;
    EXPECT_GE(block.size(), bytes);
    EXPECT_LT(block.size() - bytes, ZeroedBlock::kSmallPageSize);
    expectZeroAndWritable(block);
  }
}

TEST(ZeroedBlockTest, AdviceTheKernelRefusesLeavesAWorkingBlock) {
  // What a kernel without transparent huge pages answers to MADV_HUGEPAGE: EINVAL.
  ZeroedBlock block(3 * ZeroedBlock::kHugePageSize, -1);
  expectZeroAndWritable(block);
}

TEST(ZeroedBlockTest, MemoryThatCannotBeHadThrowsBadAlloc) {
  EXPECT_THROW(ZeroedBlock(std::numeric_limits<std::size_t>::max()), std::bad_alloc);
  // Beyond the 47-bit user address space: mmap itself fails.
  EXPECT_THROW(ZeroedBlock(std::size_t{1} << 60), std::bad_alloc);
}

}  // namespace
}  // namespace pq
