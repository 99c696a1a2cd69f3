#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pq {

struct CellFont {
  std::string name;
  double points = 11;
  bool bold = false;
  // The font's character set as Windows numbers it (134: GB2312, which covers GBK); 0, the default,
  // is left out of the file.
  int charset = 0;
  auto operator<=>(const CellFont&) const = default;
};

enum class CellHorizontal : std::uint8_t { General, Centre };
enum class CellVertical : std::uint8_t { Bottom, Centre, Top };
enum class CellLine : std::uint8_t { None, Thin, Medium };

// Everything a workbook cell shows besides its value. Lines are in the automatic colour; a solid
// fill is the automatic one of a spreadsheet program (the window background under the automatic
// pattern colour), which shows as the sheet's own white.
struct CellStyle {
  CellFont font;
  std::string numberFormat;  // a format code such as "0.00"; empty for General
  CellHorizontal horizontal = CellHorizontal::General;
  CellVertical vertical = CellVertical::Bottom;
  bool solidFill = false;
  CellLine left = CellLine::None, right = CellLine::None, top = CellLine::None, bottom = CellLine::None;
  auto operator<=>(const CellStyle&) const = default;
};

// The cell formats of a workbook (its xl/styles.xml), numbered as cells refer to them. The first
// three are in every workbook, for the tables: the plain cell in the Normal font, the bold heading
// and the date-time cell. The Normal font is also the one whose digit width measures the columns.
class WorkbookStyles {
 public:
  static constexpr std::size_t kPlain = 0;
  static constexpr std::size_t kHeading = 1;
  static constexpr std::size_t kDateTime = 2;

  explicit WorkbookStyles(CellFont normal = {"Calibri", 11, false, 0});

  // The number of the style, the same for equal styles.
  std::size_t add(const CellStyle& style);
  // The plain cell showing its number in the format `code` ("0.00"); kPlain for an empty code.
  std::size_t numberFormat(const std::string& code);
  // The stylesheet's content, between <styleSheet> and </styleSheet>.
  std::string xml() const;

 private:
  std::vector<CellStyle> styles_;
};

}  // namespace pq
