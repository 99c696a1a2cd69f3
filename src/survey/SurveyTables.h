#pragma once

#include <string>

#include "aggregation/IntervalAggregator.h"
#include "export/ExportColumn.h"
#include "survey/Survey.h"

namespace pq {

// The survey's values of one resolution (1 or 10 minutes) as a table file: a workbook for a name
// ending in ".xlsx", otherwise CSV with a byte-order mark (export/TableFile), headed as `headings`
// says. False, with the reason in `error`, when it cannot be written; nothing half-written is then left.
bool writeSurveyValues(const std::string& path, const Survey& survey, Resolution resolution, TableHeadings headings,
                       std::string& error);

// The notes "说明", then the 1-minute and 10-minute values, the voltage events and the gaps, a sheet each.
bool writeSurveyWorkbook(const std::string& path, const Survey& survey, TableHeadings headings, std::string& error);

}  // namespace pq
