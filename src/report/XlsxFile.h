#pragma once

#include <string>

#include "report/Worksheet.h"
#include "report/XlsFile.h"

namespace pq::xls {

// Writes the sheet as an .xlsx workbook (export/WorkbookFile) with the cells, merges, fonts,
// alignment, borders, column widths and row heights that the .xls of the same sheet has, through a
// temporary file, so that a failure never leaves a half-written workbook. On failure `error` holds
// the system's reason.
XlsWrite writeXlsxFile(const std::string& path, const Worksheet& sheet, std::string& error);

}  // namespace pq::xls
