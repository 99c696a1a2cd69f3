#pragma once

#include <string>
#include <vector>

#include "assessment/AssessmentRun.h"

namespace pq {

// One row of the report's verdict table: an index, the standard it is judged by, the quantity judged,
// the figure that decided (qualification rate, 95 % value, largest value) with its limit, and the
// verdict.
struct VerdictRow {
  std::string index;
  std::string standard;
  std::string quantity;
  std::string figure;
  std::string limit;
  Verdict verdict = Verdict::None;
};

// The rows of every judged index in the order of the report: the deviation of each phase, the
// unbalance, the frequency, and the harmonics of each channel (a channel fails when one of its
// orders or its distortion does; its figure is the order furthest over, or nearest to, its limit).
std::vector<VerdictRow> verdictRows(const AssessmentResult& result);

// The line under the table: "不合格项：…。" naming the failed indices, or that all passed; the
// indices without a verdict are named after it.
std::string conclusionText(const std::vector<VerdictRow>& rows);

}  // namespace pq
