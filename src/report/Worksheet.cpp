#include "report/Worksheet.h"

#include <algorithm>
#include <stdexcept>

namespace pq::xls {

namespace {

// "I36" -> row 35, column 8. Returns the characters consumed, 0 on a malformed reference.
std::size_t parseCell(std::string_view text, int& row, int& column) {
  std::size_t i = 0;
  column = 0;
  while (i < text.size() && text[i] >= 'A' && text[i] <= 'Z' && i < 3)
    column = column * 26 + (text[i++] - 'A' + 1);
  const std::size_t digits = i;
  row = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digits < 5)
    row = row * 10 + (text[i++] - '0');
  if (digits == 0 || i == digits || row == 0) return 0;
  --row;
  --column;
  return i;
}

}  // namespace

CellRange CellRange::parse(std::string_view a1) {
  CellRange range;
  std::size_t used = parseCell(a1, range.firstRow, range.firstColumn);
  if (used == 0) throw std::invalid_argument("bad cell reference " + std::string(a1));
  if (used == a1.size()) {
    range.lastRow = range.firstRow;
    range.lastColumn = range.firstColumn;
    return range;
  }
  const std::string_view second = a1.substr(used + 1);
  const std::size_t secondUsed = parseCell(second, range.lastRow, range.lastColumn);
  if (a1[used] != ':' || secondUsed == 0 || secondUsed != second.size() || range.lastRow < range.firstRow ||
      range.lastColumn < range.firstColumn) {
    throw std::invalid_argument("bad cell range " + std::string(a1));
  }
  return range;
}

Worksheet::Worksheet(std::string name, CellFormat base) : name_(std::move(name)), base_(std::move(base)) {}

Worksheet::Cell& Worksheet::cell(int row, int column) {
  const auto [it, inserted] = cells_.try_emplace({row, column});
  if (inserted) it->second.format = base_;
  return it->second;
}

template <typename Change>
void Worksheet::forEach(CellRange range, Change change) {
  for (int row = range.firstRow; row <= range.lastRow; ++row) {
    for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
      change(row, column, cell(row, column).format);
    }
  }
}

void Worksheet::setText(int row, int column, std::string utf8) { cell(row, column).value = std::move(utf8); }

void Worksheet::setInteger(int row, int column, int value) { cell(row, column).value = value; }

void Worksheet::setColumnWidth(int column, double characters) { columnWidths_[column] = characters; }

void Worksheet::setRowHeight(int row, double points) { rowHeights_[row] = points; }

void Worksheet::merge(CellRange range) {
  merges_.push_back(range);
  forEach(range, [](int, int, CellFormat&) {});
}

void Worksheet::setFont(CellRange range, const Font& font) {
  forEach(range, [&](int, int, CellFormat& f) { f.font = font; });
}

void Worksheet::setHorizontal(CellRange range, HorizontalAlignment alignment) {
  forEach(range, [&](int, int, CellFormat& f) { f.horizontal = alignment; });
}

void Worksheet::setVertical(CellRange range, VerticalAlignment alignment) {
  forEach(range, [&](int, int, CellFormat& f) { f.vertical = alignment; });
}

void Worksheet::setSolidFill(CellRange range) {
  forEach(range, [](int, int, CellFormat& f) { f.solidFill = true; });
}

void Worksheet::setBorder(CellRange range, Edge edge, Line line) {
  const CellRange r = range;
  forEach(range, [&](int row, int column, CellFormat& f) {
    switch (edge) {
      case Edge::Left:
        if (column == r.firstColumn) f.left = line;
        break;
      case Edge::Right:
        if (column == r.lastColumn) f.right = line;
        break;
      case Edge::Top:
        if (row == r.firstRow) f.top = line;
        break;
      case Edge::Bottom:
        if (row == r.lastRow) f.bottom = line;
        break;
      case Edge::InsideVertical:
        if (column > r.firstColumn) f.left = line;
        if (column < r.lastColumn) f.right = line;
        break;
      case Edge::InsideHorizontal:
        if (row > r.firstRow) f.top = line;
        if (row < r.lastRow) f.bottom = line;
        break;
    }
  });
}

}  // namespace pq::xls
