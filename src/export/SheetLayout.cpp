#include "export/SheetLayout.h"

#include <algorithm>

#include "export/XmlText.h"

namespace pq {

namespace {

void appendCellName(std::string& out, int row, int column) {
  appendColumnName(out, static_cast<std::size_t>(column) + 1);
  appendNumber(out, row + 1);
}

void appendCell(std::string& out, int row, int column, const SheetLayout::Cell& cell) {
  out += "<c r=\"";
  appendCellName(out, row, column);
  out += "\" s=\"";
  appendNumber(out, cell.style);
  out += '"';
  if (const auto* text = std::get_if<std::string>(&cell.value)) {
    out += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
    appendEscaped(out, *text);
    out += "</t></is></c>";
  } else if (const auto* number = std::get_if<long long>(&cell.value)) {
    out += "><v>";
    appendNumber(out, *number);
    out += "</v></c>";
  } else {
    out += "/>";
  }
}

}  // namespace

std::string sheetXml(const SheetLayout& sheet) {
  int lastRow = 0, lastColumn = 0;
  for (const auto& [at, cell] : sheet.cells) {
    lastRow = std::max(lastRow, at.first);
    lastColumn = std::max(lastColumn, at.second);
  }
  std::string out = "<dimension ref=\"A1";
  if (lastRow > 0 || lastColumn > 0) {
    out += ':';
    appendCellName(out, lastRow, lastColumn);
  }
  out += "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>";
  if (!sheet.columns.empty()) {
    out += "<cols>";
    for (const auto& [column, format] : sheet.columns) {
      out += "<col min=\"";
      appendNumber(out, column + 1);
      out += "\" max=\"";
      appendNumber(out, column + 1);
      out += "\" width=\"";
      appendNumber(out, format.width);
      out += "\" style=\"";
      appendNumber(out, format.style);
      out += "\" customWidth=\"1\"/>";
    }
    out += "</cols>";
  }
  out += "<sheetData>";
  // Every row that has cells or a height of its own, in order.
  auto cell = sheet.cells.begin();
  auto height = sheet.rowHeights.begin();
  while (cell != sheet.cells.end() || height != sheet.rowHeights.end()) {
    int row = cell != sheet.cells.end() ? cell->first.first : height->first;
    if (height != sheet.rowHeights.end()) row = std::min(row, height->first);
    out += "<row r=\"";
    appendNumber(out, row + 1);
    out += '"';
    if (height != sheet.rowHeights.end() && height->first == row) {
      out += " ht=\"";
      appendNumber(out, height->second);
      out += "\" customHeight=\"1\"";
      ++height;
    }
    const auto end = sheet.cells.lower_bound({row + 1, 0});
    if (cell == end) {
      out += "/>";
      continue;
    }
    out += '>';
    for (; cell != end; ++cell) appendCell(out, cell->first.first, cell->first.second, cell->second);
    out += "</row>";
  }
  out += "</sheetData>";
  if (!sheet.merges.empty()) {
    out += "<mergeCells count=\"";
    appendNumber(out, sheet.merges.size());
    out += "\">";
    for (const SheetLayout::Range& range : sheet.merges) {
      out += "<mergeCell ref=\"";
      appendCellName(out, range.firstRow, range.firstColumn);
      out += ':';
      appendCellName(out, range.lastRow, range.lastColumn);
      out += "\"/>";
    }
    out += "</mergeCells>";
  }
  return out;
}

}  // namespace pq
