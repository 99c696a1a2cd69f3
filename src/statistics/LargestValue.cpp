#include "statistics/LargestValue.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace pq {

namespace {

constexpr std::size_t kSampleStride = 16;

std::optional<float> selectAmongAll(std::span<float> values, std::size_t rank) {
  const auto numbersEnd =
      std::partition(values.begin(), values.end(), [](float x) { return !std::isnan(x); });
  if (static_cast<std::size_t>(numbersEnd - values.begin()) < rank) return std::nullopt;
  const auto nth = values.begin() + static_cast<std::ptrdiff_t>(rank - 1);
  std::nth_element(values.begin(), nth, numbersEnd, std::greater<float>());
  return *nth;
}

// A value a little below the rank-th largest, guessed from every 16th value; nullopt when the
// sample is too small to guess from.
std::optional<float> thresholdFromSample(std::span<const float> values, std::size_t rank) {
  std::vector<float> sample;
  sample.reserve(values.size() / kSampleStride + 1);
  for (std::size_t i = 0; i < values.size(); i += kSampleStride) {
    if (!std::isnan(values[i])) sample.push_back(values[i]);
  }
  // The rank's place in the sample scatters by about its square root; a quarter more and eight
  // places lies several of those below it.
  const std::size_t expected = rank / kSampleStride;
  const std::size_t place = expected + expected / 4 + 8;
  if (place >= sample.size()) return std::nullopt;
  std::nth_element(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(place), sample.end(),
                   std::greater<float>());
  return sample[place];
}

}  // namespace

// A report's 95 % value is the rank-th largest of up to 86 400 values with rank a twentieth of
// them. Selecting among all of them walks the values several times; most lie far below the answer,
// so the values at or above a threshold guessed from a sample are kept and the selection runs
// among those few. When fewer than `rank` reach the threshold, the guess was too high and the
// selection runs among all: the answer is the same either way, since every value at or above the
// rank-th largest reaches a threshold that at least `rank` values reach.
std::optional<float> rankthLargest(std::span<float> values, int rank) {
  if (rank < 1) return std::nullopt;
  const auto wanted = static_cast<std::size_t>(rank);
  if (values.size() >= 4096 && wanted * 4 <= values.size()) {
    if (const auto threshold = thresholdFromSample(values, wanted)) {
      std::vector<float> candidates;
      candidates.reserve(wanted * 2);
      for (const float v : values) {
        if (v >= *threshold) candidates.push_back(v);
      }
      if (candidates.size() >= wanted) return selectAmongAll(candidates, wanted);
    }
  }
  return selectAmongAll(values, wanted);
}

}  // namespace pq
