#pragma once

#include <cstdint>
#include <vector>

#include "report/Worksheet.h"

namespace pq::xls {

// The BIFF8 "Workbook" stream of a workbook with one worksheet: globals (fonts, cell formats, shared
// strings), then the sheet (column widths, rows, cells, merged ranges). Texts are stored as UTF-16.
std::vector<std::uint8_t> workbookStream(const Worksheet& sheet);

}  // namespace pq::xls
