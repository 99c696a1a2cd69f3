#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace pq {

// A sheet laid out cell by cell, such as a report page: values with cell formats (numbers of a
// WorkbookStyles), merged ranges, column widths and row heights. It is held whole in memory, so it
// suits forms, not tables of records. Rows and columns count from 0.
struct SheetLayout {
  // No value: a cell that only carries its format (the blank cells inside a merged range, which
  // draw its outline).
  using Value = std::variant<std::monostate, long long, std::string>;
  struct Cell {
    Value value;
    std::size_t style = 0;
  };
  struct Range {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;  // inclusive
  };
  struct Column {
    double width = 0;       // in digits of the Normal font, as a spreadsheet program's column width
    std::size_t style = 0;  // the format of the column's cells that have none of their own
  };

  std::map<std::pair<int, int>, Cell> cells;  // by (row, column)
  std::map<int, Column> columns;
  std::map<int, double> rowHeights;  // in points
  std::vector<Range> merges;
};

// The content of the sheet's <worksheet> element.
std::string sheetXml(const SheetLayout& sheet);

}  // namespace pq
