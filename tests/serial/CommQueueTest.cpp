#include "serial/CommQueue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <thread>

#include "serial/Comm32Error.h"

namespace pq::OstrelComm32 {
namespace {

TEST(CommQueueTest, HoldsOneByteLessThanItsCapacity) {
  TCommQueue queue(8192);
  const std::string bytes(10000, 'x');
  EXPECT_EQ(queue.In(bytes.data(), 10000), 8191);
  EXPECT_EQ(queue.Count(), 8191);
  EXPECT_EQ(queue.Free(), 0);
  const char one = 'y';
  EXPECT_EQ(queue.In(&one), 0);
}

TEST(CommQueueTest, KeepsTheOrderAcrossTheEndOfTheBuffer) {
  TCommQueue queue(8);
  char out[8] = {};
  ASSERT_EQ(queue.In("abcde", 5), 5);
  ASSERT_EQ(queue.Out(out, 4), 4);
  EXPECT_EQ(queue.In("fghijk", 6), 6) << "write index wraps";
  ASSERT_EQ(queue.Out(out, 8), 7);
  EXPECT_EQ(std::string(out, 7), "efghijk");
  char single = 0;
  EXPECT_EQ(queue.Out(&single), 0);
}

TEST(CommQueueTest, RefusesWithoutBufferAndNullPointers) {
  TCommQueue queue(0);
  EXPECT_FALSE(queue.HasBuffer());
  EXPECT_EQ(queue.In("a", 1), 0);
  char c = 0;
  EXPECT_EQ(queue.Out(&c), 0);

  TCommQueue sized(16);
  EXPECT_EQ(sized.In(nullptr, 3), 0);
  EXPECT_EQ(sized.In("abc", 0), 0);
  EXPECT_EQ(sized.Out(nullptr, 3), 0);
  sized.In("abc", 3);
  sized.fSetBufSize(0);
  EXPECT_FALSE(sized.HasBuffer());
  EXPECT_EQ(sized.Capacity(), 16) << "releasing keeps the capacity value";
}

TEST(CommQueueTest, ASizeBeyondThirtyTwoBitsRaisesOutOfMemoryAndKeepsTheOldBuffer) {
  TCommQueue queue(16);
  try {
    queue.fSetBufSize(1L << 40);
    FAIL() << "no error";
  } catch (const EComm32Error& error) {
    EXPECT_EQ(error.ErrorCode(), 1);
  }
  EXPECT_TRUE(queue.HasBuffer());
  EXPECT_EQ(queue.Capacity(), 16);
  TCommQueue failed(1L << 40);
  EXPECT_FALSE(failed.HasBuffer());
}

TEST(CommQueueTest, TheLargestCapacityCountsWithoutOverflow) {
  // Two gigabytes of address space; only the few bytes passed through are ever touched.
  constexpr long kLargest = std::numeric_limits<std::int32_t>::max();
  TCommQueue queue(kLargest);
  ASSERT_TRUE(queue.HasBuffer());
  ASSERT_EQ(queue.In("abc", 3), 3);
  EXPECT_EQ(queue.Count(), 3);
  EXPECT_EQ(queue.Free(), kLargest - 4);
  char out[8] = {};
  EXPECT_EQ(queue.Out(out, 8), 3);
  EXPECT_EQ(std::string(out, 3), "abc");
}

TEST(CommQueueTest, OneProducerAndOneConsumerPassEveryByteInOrder) {
  TCommQueue queue(97);
  constexpr int kBytes = 200000;
  std::thread producer([&queue] {
    for (int sent = 0; sent < kBytes;) {
      const char byte = static_cast<char>(sent % 251);
      sent += static_cast<int>(queue.In(&byte));
    }
  });
  int received = 0;
  int wrong = 0;
  char buffer[64];
  while (received < kBytes) {
    const long n = queue.Out(buffer, sizeof buffer);
    for (long i = 0; i < n; ++i) wrong += buffer[i] != static_cast<char>((received + i) % 251);
    received += static_cast<int>(n);
  }
  producer.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace pq::OstrelComm32
