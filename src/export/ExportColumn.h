#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/TableCell.h"

namespace pq {

// Which headings an exported table carries: the identifiers scripts read ("uaRms", "Ic_23"), or the
// Chinese names with their units that people read ("A相电压有效值(V)").
enum class TableHeadings { Identifiers, Chinese };

// "id" or "zh", as the command line names them; nothing for any other text.
std::optional<TableHeadings> tableHeadingsNamed(std::string_view name);

// One column of an exported table: its two headings and the number format its values show in a
// workbook (a code such as "0.00", empty for General).
struct ExportColumn {
  std::string identifier;
  std::string title;
  std::string numberFormat;
};

// The columns' number formats, then the heading row in the form asked for.
void writeHeading(TableWriter& table, const std::vector<ExportColumn>& columns, TableHeadings headings);

}  // namespace pq
