#pragma once

#include <string>

#include "report/Worksheet.h"

namespace pq::xls {

// How far a write came. A workbook whose file cannot be created (a missing or refused folder) is
// told apart from one that fails later (a full disk): the window has a message of its own for the
// first.
enum class XlsWrite { Written, NotCreated, Failed };

// Writes the sheet as an .xls workbook (BIFF8 in a compound file) through a temporary file, so that
// a failure never leaves a half-written workbook. On failure `error` holds the system's reason.
XlsWrite writeXlsFile(const std::string& path, const Worksheet& sheet, std::string& error);

}  // namespace pq::xls
