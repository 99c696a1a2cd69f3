#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assessment/AssessmentRun.h"
#include "export/TableCell.h"
#include "pages/PageDrawing.h"

namespace pq {

class JsonWriter;
class ReportDocument;

// What the index sections (AssessmentIndices.h) share, so that their pages, sheets and JSON members
// print alike.

// Pages. A table of the columns index, maximum, minimum, mean, 95 % value, limit, pass rate, verdict.
void addIndexTable(ReportDocument& document, const std::vector<std::vector<std::string>>& rows);
// The row of such a table: the index's statistics with `decimals`, the limit text, pass rate, verdict.
std::vector<std::string> indexRow(std::string name, const IndexAssessment& index, const std::string& limit,
                                  int decimals);
// A chart, unless it is empty.
void addChart(ReportDocument& document, PageDrawing chart);
// Below a table: the methods of its indices, each once, and why those without a verdict have none.
void addIndexNotes(ReportDocument& document, const std::vector<const IndexAssessment*>& indices);

// Sheets. Figures as four-byte floats, as the JSON gives them, so that both show the same digits; no
// cell where there is no value.
TableCell sheetNumber(double value);
TableCell sheetText(const std::string& value);
TableCell sheetWhole(long long value);
TableCell sheetDateTime(std::int64_t epochSeconds);
// Maximum, minimum, mean and 95 % value.
void appendStatistics(TableRow& row, const IndexAssessment& index);
// Pass rate, verdict and, for an index without one, why.
void appendVerdict(TableRow& row, const IndexAssessment& index);

// JSON. A float member, null when there is no value.
void addJsonNumber(JsonWriter& json, const char* key, double value);
// "verdict", or null and "reason" for an index without one.
void addJsonVerdict(JsonWriter& json, const IndexAssessment& index);

}  // namespace pq
