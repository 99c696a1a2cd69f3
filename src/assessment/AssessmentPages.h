#pragma once

#include <string>
#include <vector>

#include "assessment/AssessmentRun.h"
#include "pages/ReportDocument.h"
#include "pages/ReportPage.h"

namespace pq {

struct RecordHead;
class RecordStore;

// Who and what was measured, with what, from which files, as the head of the report names them.
struct AssessmentHeading {
  std::string station;  // UTF-8
  std::string point;
  std::string level;    // "10KV", or empty for a level code the program does not know
  std::string voltageUnit = "V";  // of the voltage cells: "KV" behind a voltage transformer
  float ptRatio = 1;
  float ctRatio = 1;
  std::string instrument;          // the instrument number of the first record, empty when unknown
  std::vector<std::string> files;  // the record files' names, in time order
  // A survey's files whose head differs from the first one's, as the operator accepted them.
  std::vector<std::string> mismatches;
};
// The head's station, point and level, and its file.
AssessmentHeading assessmentHeadingOf(const RecordHead& head);
// The store's head with the instrument number of its first record.
AssessmentHeading assessmentHeadingOf(const RecordStore& store);

// The test report (电能质量测试报告) as blocks: the first page names the station, point, level and
// declared voltage, wiring, transformer ratios, instrument, files, period, records, gaps, events and
// outage, and the limit set, then one verdict table of every index and the conclusion; then per index
// its charts, its table with maximum, minimum, mean, 95 % value, limit, pass rate and verdict and how
// it was evaluated; the harmonics' 95 % values and limits of every channel in one table of orders;
// the voltage events by class, as a chart and listed; the energy; and the gaps in the data. A
// refused assessment gives the head and why.
ReportDocument assessmentDocument(const AssessmentResult& result, const AssessmentHeading& heading);
// The same laid out on A4 pages.
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
