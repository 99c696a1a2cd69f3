#pragma once

#include <string>

#include "pages/ReportPage.h"

namespace pq {

// The two page forms with every ruling line, static text and empty variable cell at its design
// position. Variable cells are keyed:
//   "title", "station", "point", "level", "start", "end", "testUnit", "tester", "printDate";
//   voltage page: "unit" and the rows "fundamental", "lineFundamental", "harmonic.2".."harmonic.25",
//   "thd", "deviation", "fluctuation", "frequency", "unbalance";
//   current page: "minShortCircuit", "supply", "agreed" and the rows "fundamental",
//   "harmonic.2".."harmonic.25", "thd";
//   a row's cells are "<row>.max", ".min", ".avg", ".p95", ".permitted", ".pass" where it has them.
ReportPage voltagePageForm();
ReportPage currentPageForm();

std::string harmonicRow(int order);
inline std::string cellKey(const std::string& row, const char* column) { return row + "." + column; }

}  // namespace pq
