#pragma once

#include <span>
#include <vector>

#include "assessment/AssessmentRun.h"

namespace pq {

class JsonWriter;
class ReportDocument;
struct AssessmentTable;

// One index of the assessment as every output shows it. The pages, the workbook and the JSON walk
// assessmentIndexSections() rather than the result's members, so that an index added there (one file
// with its entry, docs/architecture.md "Add an index") shows in all three alike.
struct AssessmentIndexSection {
  // Its heading, table and notes on the assessment pages.
  void (*addPageSection)(ReportDocument& document, const AssessmentResult& result);
  // Its sheet or sheets of the workbook.
  void (*addSheets)(const AssessmentResult& result, std::vector<AssessmentTable>& sheets);
  // Its member or members of the `assess --json` object.
  void (*addJsonMembers)(const AssessmentResult& result, JsonWriter& json);
};

// Each defined in a file of its own (DeviationSection.cpp, ...).
extern const AssessmentIndexSection kDeviationSection;
extern const AssessmentIndexSection kUnbalanceSection;
extern const AssessmentIndexSection kFrequencySection;
extern const AssessmentIndexSection kHarmonicSection;
extern const AssessmentIndexSection kEventSection;
extern const AssessmentIndexSection kEnergySection;

// The events' page section without its heading: the event counts, SARFI, the event list and how the
// events were found, which the event list pages (eventListPages) show as well.
void addEventListBody(ReportDocument& document, const AssessmentResult& result);

// In the order of the page sections, the sheets after "概况" and the JSON members after the span.
std::span<const AssessmentIndexSection* const> assessmentIndexSections();

}  // namespace pq
