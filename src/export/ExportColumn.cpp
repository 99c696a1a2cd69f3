#include "export/ExportColumn.h"

namespace pq {

std::optional<TableHeadings> tableHeadingsNamed(std::string_view name) {
  if (name == "id") return TableHeadings::Identifiers;
  if (name == "zh") return TableHeadings::Chinese;
  return std::nullopt;
}

void writeHeading(TableWriter& table, const std::vector<ExportColumn>& columns, TableHeadings headings) {
  std::vector<std::string> formats, names;
  formats.reserve(columns.size());
  names.reserve(columns.size());
  for (const ExportColumn& column : columns) {
    formats.push_back(column.numberFormat);
    names.push_back(headings == TableHeadings::Chinese ? column.title : column.identifier);
  }
  table.numberFormats(formats);
  table.heading(names);
}

}  // namespace pq
