#pragma once

#include <optional>
#include <span>

namespace pq {

// The rank-th largest number among `values` (rank 1 is the largest), duplicates counted and
// not-a-number values left out; nullopt when fewer numbers than that are given. Reorders `values`.
std::optional<float> rankthLargest(std::span<float> values, int rank);

}  // namespace pq
