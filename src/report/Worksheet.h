#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace pq::xls {

struct Font {
  std::string name;
  int points = 10;
  bool bold = false;
  auto operator<=>(const Font&) const = default;
};

enum class HorizontalAlignment : std::uint8_t { General = 0, Centre = 2 };
enum class VerticalAlignment : std::uint8_t { Top = 0, Centre = 1, Bottom = 2 };
enum class Line : std::uint8_t { None = 0, Thin = 1, Medium = 2 };

// Everything a cell shows besides its value. Border colours are always automatic.
struct CellFormat {
  Font font;
  HorizontalAlignment horizontal = HorizontalAlignment::General;
  VerticalAlignment vertical = VerticalAlignment::Bottom;
  bool solidFill = false;
  Line left = Line::None, right = Line::None, top = Line::None, bottom = Line::None;
  auto operator<=>(const CellFormat&) const = default;
};

// A block of cells, 0-based and inclusive, written in A1 notation as "A5:I36" or "B7".
struct CellRange {
  int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;

  // Throws std::invalid_argument on a malformed reference.
  static CellRange parse(std::string_view a1);
  auto operator<=>(const CellRange&) const = default;
};

enum class Edge { Left, Top, Bottom, Right, InsideVertical, InsideHorizontal };

// One worksheet built the way a spreadsheet program is driven: values into cells, then formats on
// ranges. A range operation gives every cell of the range its own format (blank cells included), so
// merged areas keep their borders on every edge.
class Worksheet {
 public:
  using Value = std::variant<std::monostate, std::string, int>;
  struct Cell {
    Value value;
    CellFormat format;
  };

  // `base` is what every cell starts with (the sheet-wide font and alignment).
  Worksheet(std::string name, CellFormat base);

  void setText(int row, int column, std::string utf8);
  void setInteger(int row, int column, int value);
  void setColumnWidth(int column, double characters);
  void setRowHeight(int row, double points);
  void merge(CellRange range);

  void setFont(CellRange range, const Font& font);
  void setHorizontal(CellRange range, HorizontalAlignment alignment);
  void setVertical(CellRange range, VerticalAlignment alignment);
  void setSolidFill(CellRange range);
  // Inside lines set or clear both facing sides, since a line shows when either side has it.
  void setBorder(CellRange range, Edge edge, Line line);

  const std::string& name() const { return name_; }
  const CellFormat& baseFormat() const { return base_; }
  const std::map<std::pair<int, int>, Cell>& cells() const { return cells_; }
  const std::map<int, double>& columnWidths() const { return columnWidths_; }
  const std::map<int, double>& rowHeights() const { return rowHeights_; }
  const std::vector<CellRange>& merges() const { return merges_; }

 private:
  Cell& cell(int row, int column);
  template <typename Change>
  void forEach(CellRange range, Change change);

  std::string name_;
  CellFormat base_;
  std::map<std::pair<int, int>, Cell> cells_;  // by (row, column): the order rows are written in
  std::map<int, double> columnWidths_;
  std::map<int, double> rowHeights_;
  std::vector<CellRange> merges_;
};

}  // namespace pq::xls
