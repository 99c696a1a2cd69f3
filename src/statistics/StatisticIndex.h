#pragma once

namespace pq {

// The indices of the two phase reports.
enum class StatisticIndex {
  Fundamental,         // phase voltage (voltage report) or phase current (current report)
  LineFundamental,     // voltage report only
  Harmonic,            // content in % (voltage report) or current in A (current report), order 2..25
  Thd,                 // test only in the voltage report
  Deviation,           // voltage report only
  Unbalance,           // voltage report only
  Fluctuation,         // voltage report only
  FrequencyDeviation,  // voltage report only
};

struct StatisticRequest {
  StatisticIndex index;
  int order = 0;  // 2..25, for Harmonic only
};

}  // namespace pq
