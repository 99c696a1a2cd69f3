#pragma once

#include <string>
#include <vector>

#include "pages/ReportDocument.h"
#include "pages/ReportPage.h"

namespace pq {

// Report pages rendered to files. Both write through a temporary file and return false with `error`
// set when the file cannot be written. A Qt GUI application must exist (fonts).
bool writeReportPdf(const std::string& path, const std::vector<ReportPage>& pages, std::string& error);
// The page at 96 dpi: 794 x 1123 pixels.
bool writeReportPng(const std::string& path, const ReportPage& page, std::string& error);
// The document as an editable Word file, its charts as pictures of twice the page's resolution, so
// that they stay sharp in print.
bool writeReportDocx(const std::string& path, const ReportDocument& document, std::string& error);

}  // namespace pq
