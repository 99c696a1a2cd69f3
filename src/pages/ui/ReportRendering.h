#pragma once

#include <string>
#include <vector>

#include "pages/ReportPage.h"

namespace pq {

// Report pages rendered to files. Both write through a temporary file and return false with `error`
// set when the file cannot be written. A Qt GUI application must exist (fonts).
bool writeReportPdf(const std::string& path, const std::vector<ReportPage>& pages, std::string& error);
// The page at 96 dpi: 794 x 1123 pixels.
bool writeReportPng(const std::string& path, const ReportPage& page, std::string& error);

}  // namespace pq
