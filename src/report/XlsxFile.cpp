#include "report/XlsxFile.h"

#include "export/WorkbookFile.h"

namespace pq::xls {

namespace {

// The character set the .xls gives every font: GB2312, which covers GBK.
constexpr int kChineseCharset = 134;

CellFont cellFont(const Font& font) {
  return {font.name, static_cast<double>(font.points), font.bold, kChineseCharset};
}

CellLine cellLine(Line line) {
  switch (line) {
    case Line::Thin:
      return CellLine::Thin;
    case Line::Medium:
      return CellLine::Medium;
    case Line::None:
      break;
  }
  return CellLine::None;
}

CellStyle cellStyle(const CellFormat& format) {
  CellStyle style;
  style.font = cellFont(format.font);
  style.horizontal =
      format.horizontal == HorizontalAlignment::Centre ? CellHorizontal::Centre : CellHorizontal::General;
  switch (format.vertical) {
    case VerticalAlignment::Top:
      style.vertical = CellVertical::Top;
      break;
    case VerticalAlignment::Centre:
      style.vertical = CellVertical::Centre;
      break;
    case VerticalAlignment::Bottom:
      style.vertical = CellVertical::Bottom;
      break;
  }
  style.solidFill = format.solidFill;
  style.left = cellLine(format.left);
  style.right = cellLine(format.right);
  style.top = cellLine(format.top);
  style.bottom = cellLine(format.bottom);
  return style;
}

SheetLayout::Value cellValue(const Worksheet::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<int>(&value)) return static_cast<long long>(*number);
  return std::monostate{};
}

}  // namespace

XlsWrite writeXlsxFile(const std::string& path, const Worksheet& sheet, std::string& error) {
  // The sheet's base font is the workbook's Normal font, as in the .xls, so that column widths
  // measure the same digits.
  WorkbookStyles styles(cellFont(sheet.baseFormat().font));
  SheetLayout layout;
  for (const auto& [at, cell] : sheet.cells())
    layout.cells[at] = {cellValue(cell.value), styles.add(cellStyle(cell.format))};
  const std::size_t baseStyle = styles.add(cellStyle(sheet.baseFormat()));
  for (const auto& [column, width] : sheet.columnWidths()) layout.columns[column] = {width, baseStyle};
  layout.rowHeights = sheet.rowHeights();
  for (const CellRange& range : sheet.merges()) {
    layout.merges.push_back({range.firstRow, range.firstColumn, range.lastRow, range.lastColumn});
  }

  WorkbookFile book(path, std::move(styles));
  if (!book.open()) {
    error = book.error();
    return XlsWrite::NotCreated;
  }
  book.addSheet(sheet.name(), layout);
  if (book.commit()) return XlsWrite::Written;
  error = book.error();
  return XlsWrite::Failed;
}

}  // namespace pq::xls
