#pragma once

#include <string>

#include "report/Worksheet.h"

namespace pq::xls {

// Writes the sheet as an .xls workbook (BIFF8 in a compound file) through a temporary file, so that
// a failure never leaves a half-written workbook. False with `error` set on failure.
bool writeXlsFile(const std::string& path, const Worksheet& sheet, std::string& error);

}  // namespace pq::xls
