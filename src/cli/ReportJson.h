#pragma once

#include <string>

#include "statistics/PhaseReportDataSet.h"

namespace pq::cli {

// The phase report data set of the report just run, as the JSON object of `report --json`: only the
// statistics the report's kind computes, p95 null below 20 samples, passRate null where the report
// has no test.
std::string reportJson(const PhaseReportDataSet& data, int rangeStart, int rangeEnd);

}  // namespace pq::cli
