#pragma once

#include <string>

#include "pages/ReportPage.h"
#include "statistics/ReportKind.h"

namespace pq {

class ReportParameters;

// Fills the variable cells of a page form from the report parameters (their texts as typed) and the
// phase report data set they hold. Below 20 samples every 95 % cell shows "*".
void setReportTitle(ReportPage& page, ReportKind kind);
void buildVoltagePage(ReportPage& page, const ReportParameters& parameters, float ptRatio,
                      const std::string& printDate);
void buildCurrentPage(ReportPage& page, const ReportParameters& parameters, const std::string& printDate);

// The page of the report last run (the data set's kind): the voltage or the current form with its
// title and every cell filled, as the report window shows it.
ReportPage buildReportPage(const ReportParameters& parameters, float ptRatio, const std::string& printDate);

}  // namespace pq
