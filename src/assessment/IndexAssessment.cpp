#include "assessment/IndexAssessment.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "statistics/StatisticsEngine.h"

namespace pq {

const char* verdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass:
      return "合格";
    case Verdict::Fail:
      return "不合格";
    case Verdict::None:
      break;
  }
  return "无结论";
}

bool summarise(std::span<const double> values, bool magnitudes, IndexAssessment& result) {
  if (values.empty()) return false;
  if (!std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); })) return false;
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  double sum = 0;
  for (const double v : values) sum += v;
  result.values = static_cast<int>(values.size());
  result.min = *low;
  result.max = *high;
  result.mean = sum / static_cast<double>(values.size());
  result.p95 = IndexAssessment::kNone;
  if (const int rank = rankOf95PercentValue(result.values); rank >= 1) {
    // Selected among doubles rather than the report's four-byte values, so that a value a hair above
    // a limit does not round onto it.
    std::vector<double> ranked(values.begin(), values.end());
    if (magnitudes) {
      for (double& v : ranked) v = std::fabs(v);
    }
    const auto nth = ranked.begin() + (rank - 1);
    std::nth_element(ranked.begin(), nth, ranked.end(), std::greater<double>());
    result.p95 = *nth;
  }
  return true;
}

}  // namespace pq
