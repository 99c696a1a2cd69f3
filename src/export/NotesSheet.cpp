#include "export/NotesSheet.h"

#include <algorithm>
#include <cmath>

#include "export/ColumnWidth.h"

namespace pq {

namespace {

// The cell's margins beside the longest text; the content column stops growing where a reader
// would rather scroll than widen it.
constexpr double kNoteMargin = 2;
constexpr double kWidestNote = 100;

class Layout {
 public:
  // A row of the label and its text; a heading row has both in bold.
  enum class Row { Item, Heading, Plain };
  void item(const std::string& label, const std::string& text, Row kind = Row::Item) {
    if (!label.empty()) put(0, label, kind == Row::Plain ? WorkbookStyles::kPlain : WorkbookStyles::kHeading);
    if (!text.empty()) put(1, text, kind == Row::Heading ? WorkbookStyles::kHeading : WorkbookStyles::kPlain);
    ++row_;
  }
  void space() { ++row_; }
  SheetLayout finish() {
    for (int column = 0; column < 2; ++column)
      sheet_.columns[column] = {std::min(std::ceil(widths_[column]) + kNoteMargin, kWidestNote), WorkbookStyles::kPlain};
    return std::move(sheet_);
  }

 private:
  void put(int column, const std::string& text, std::size_t style) {
    sheet_.cells[{row_, column}] = {text, style};
    widths_[column] = std::max(widths_[column], textWidth(text) * (style == WorkbookStyles::kHeading ? 1.1 : 1.0));
  }

  SheetLayout sheet_;
  int row_ = 0;
  double widths_[2] = {0, 0};
};

}  // namespace

std::string periodText(const std::string& from, const std::string& to) { return from + " – " + to; }

SheetLayout notesSheet(const WorkbookNotes& notes) {
  Layout layout;
  layout.item("变（配）电所名称", notes.station);
  layout.item("测点名称", notes.point);
  layout.item("时段", notes.period);
  layout.item("记录间隔", notes.recordInterval);
  for (std::size_t i = 0; i < notes.files.size(); ++i) layout.item(i == 0 ? "文件" : "", notes.files[i]);
  if (notes.files.empty()) layout.item("文件", "-");
  layout.space();
  layout.item("工作表", "内容", Layout::Row::Heading);
  for (const WorkbookNotes::SheetNote& sheet : notes.sheets) layout.item(sheet.name, sheet.holds, Layout::Row::Plain);
  return layout.finish();
}

void addNotesSheet(WorkbookFile& book, const WorkbookNotes& notes) { book.addSheet(kNotesSheetName, notesSheet(notes)); }

}  // namespace pq
