#include "statistics/LargestValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace pq {
namespace {

std::optional<float> bySorting(std::vector<float> values, int rank) {
  std::erase_if(values, [](float v) { return std::isnan(v); });
  if (rank < 1 || static_cast<int>(values.size()) < rank) return std::nullopt;
  std::sort(values.begin(), values.end(), std::greater<float>());
  return values[static_cast<std::size_t>(rank - 1)];
}

// Large inputs take the sampled threshold; the layouts are chosen so that the sample sometimes
// guesses too high (the large values on exactly the sampled places) and the answer must still hold.
TEST(LargestValueTest, SameAnswerAsSortingForEveryLayout) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coarse(0, 40);
  std::normal_distribution<float> smooth(230.0f, 3.0f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* name;
    std::function<float(int)> value;
  } layouts[] = {
      {"smooth", [&](int) { return smooth(random); }},
      {"many duplicates", [&](int) { return static_cast<float>(coarse(random)) * 0.5f; }},
      {"all equal", [](int) { return 1.0f; }},
      {"large on the sampled places", [](int i) { return i % 16 == 0 ? 100.0f : static_cast<float>(i % 7); }},
      {"rising", [](int i) { return static_cast<float>(i); }},
      {"falling with a tenth not a number",
       [&](int i) { return i % 10 == 3 ? nan : -static_cast<float>(i); }},
      {"mostly not a number", [&](int i) { return i % 40 == 0 ? static_cast<float>(i) : nan; }},
  };
  for (const auto& layout : layouts) {
    for (const int n : {20, 4095, 4096, 5000, 86400}) {
      std::vector<float> values;
      for (int i = 0; i < n; ++i) values.push_back(layout.value(i));
      for (const int rank : {1, (n + 19) / 20, n / 4, n}) {
        std::vector<float> work = values;
        EXPECT_EQ(rankthLargest(work, rank), bySorting(values, rank))
            << layout.name << ' ' << n << ' ' << rank;
      }
    }
  }
}

TEST(LargestValueTest, NoAnswerWithoutEnoughNumbers) {
  std::vector<float> values(5000, std::numeric_limits<float>::quiet_NaN());
  values[7] = 3.0f;
  EXPECT_EQ(rankthLargest(values, 1), 3.0f);
  EXPECT_EQ(rankthLargest(values, 2), std::nullopt);
  EXPECT_EQ(rankthLargest(values, 0), std::nullopt);
  std::vector<float> none;
  EXPECT_EQ(rankthLargest(none, 1), std::nullopt);
}

}  // namespace
}  // namespace pq
