#pragma once

#include <string>
#include <vector>

#include "assessment/AssessmentRun.h"
#include "pages/ReportPage.h"

namespace pq {

struct RecordHead;

// Who and what was measured, as the head of an assessment page names them.
struct AssessmentHeading {
  std::string station;  // UTF-8
  std::string point;
  std::string level;    // "10KV", or empty for a level code the program does not know
  std::vector<std::string> files = {};  // the record files assessed, as their paths were given
};
// The head's station, point and level, and its file.
AssessmentHeading assessmentHeadingOf(const RecordHead& head);

// The assessment on A4 pages: the head (station, point, level, span with its gaps and the records
// left out, limit set), then per index a table with maximum, minimum, mean, 95 % value, limit, pass
// rate and verdict, each followed by how it was evaluated; the voltage events with their SARFI
// counts; the energy and power factor. A refused assessment gives one page that says why.
std::vector<ReportPage> assessmentPages(const AssessmentResult& result, const AssessmentHeading& heading);

// The rows of the event list, one per event: number, kind, start, duration "n s (±1 s)", phases,
// residual voltage or peak in %; and their column headings.
std::vector<std::vector<std::string>> eventListRows(const AssessmentResult& result);
std::vector<std::string> eventListHeadings();

// The voltage events alone, one row each, for the event list.
std::vector<ReportPage> eventListPages(const AssessmentResult& result, const AssessmentHeading& heading);

// A value as the page prints it: `decimals` decimals, "—" for none.
std::string pageNumber(double value, int decimals);

}  // namespace pq
