#pragma once

#include <limits>
#include <span>
#include <string>

namespace pq {

enum class Verdict { Pass, Fail, None };
// "合格", "不合格", or "无结论" when the values could not be judged.
const char* verdictText(Verdict verdict);

// One index of one phase (or of the supply) as the assessment page shows it: the statistics of the
// values judged, the limits, the share of values within them and the verdict. A result without a
// verdict says why in `reason`; its figures are then not to be printed as sound.
struct IndexAssessment {
  static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

  Verdict verdict = Verdict::None;
  std::string reason;
  int values = 0;  // the number of values the statistics are taken over
  double max = kNone;
  double min = kNone;
  double mean = kNone;
  double p95 = kNone;  // the report's 95 % value; none below 20 values
  double upperLimit = kNone;
  double lowerLimit = kNone;    // for a two-sided band
  double largestLimit = kNone;  // of the largest value, where the rule has one
  double passRate = kNone;      // % of the values within the limits
  std::string method;           // one line: which values, which rule

  bool judged() const { return verdict != Verdict::None; }
};

// Fills max, min, mean, values and the 95 % value (the report's rule: the ceil(N / 20)-th largest)
// of `values`; `magnitudes` ranks the 95 % value by magnitude, as the report does for signed
// indices. False, with nothing filled, when a value is no finite number or there is none.
bool summarise(std::span<const double> values, bool magnitudes, IndexAssessment& result);

}  // namespace pq
