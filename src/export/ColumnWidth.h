#pragma once

#include <string>
#include <string_view>

#include "export/TableCell.h"

namespace pq {

// Column widths of a workbook table, in digits of the Normal font as a spreadsheet program measures
// them. A column is made wide enough for its bold heading and for its first row's value shown in the
// column's number format, with room for two more digits, since the rows that follow (streamed, never
// held) hold values of the same quantity but not always of the same size.

// The width of a text: one digit for each Latin character, two for a Chinese one (or any other that
// takes three or four bytes in UTF-8).
double textWidth(std::string_view utf8);

// The width of a cell's value shown in `numberFormat` (a code such as "0.000"; empty for General).
double valueWidth(const TableCell& cell, const std::string& numberFormat);

// The width of a column of that heading whose first value is `first`.
double columnWidth(std::string_view heading, const TableCell& first, const std::string& numberFormat);

}  // namespace pq
