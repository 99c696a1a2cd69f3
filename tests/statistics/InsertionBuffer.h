#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace pq::test {

// The 95 % value as the top-K insertion buffer first computed it: K + 1 slots, every value inserted in
// descending order at a cost of up to K + 1 comparisons. The tests check the selection against it and
// the benchmark measures it as the reference. `rank` >= 1.
inline float insertionBufferValue(const std::vector<float>& values, int rank) {
  std::vector<float> slots(static_cast<std::size_t>(rank) + 1, 0.0f);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t j = std::min(i, static_cast<std::size_t>(rank));
    slots[j] = values[i];
    for (std::size_t t = 0; t <= j; ++t) {
      if (slots[j] > slots[t]) std::swap(slots[j], slots[t]);
    }
  }
  return slots[static_cast<std::size_t>(rank) - 1];
}

}  // namespace pq::test
