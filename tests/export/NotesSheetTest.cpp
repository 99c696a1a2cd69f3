#include "export/NotesSheet.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

std::string textAt(const SheetLayout& sheet, int row, int column) {
  const auto found = sheet.cells.find({row, column});
  if (found == sheet.cells.end()) return "(none)";
  const auto* text = std::get_if<std::string>(&found->second.value);
  return (text != nullptr ? *text : "(no text)") + (found->second.style == WorkbookStyles::kHeading ? " /b" : "");
}

// The items in bold beside their texts, a file a row, an empty text as no cell; the sheets under a
// bold heading; each column as wide as its longest text (bold a tenth wider) and a margin.
TEST(NotesSheetTest, ItemsFilesAndSheetsInColumnsOfTheirWidths) {
  WorkbookNotes notes;
  notes.station = "城东变";
  notes.period = periodText("2010-04-19 15:39:00", "2010-04-19 15:41:29");
  notes.recordInterval = "1 s";
  notes.files = {"/d/a.bin", "/d/b.bin"};
  notes.sheets = {{"记录", "每条记录一行"}, {"1分钟值", "每1分钟一行"}};
  const SheetLayout sheet = notesSheet(notes);
  const struct {
    int row, column;
    const char* text;
  } cases[] = {
      {0, 0, "变（配）电所名称 /b"},
      {0, 1, "城东变"},
      {1, 0, "测点名称 /b"},
      {1, 1, "(none)"},
      {2, 0, "时段 /b"},
      {2, 1, "2010-04-19 15:39:00 – 2010-04-19 15:41:29"},
      {3, 1, "1 s"},
      {4, 0, "文件 /b"},
      {4, 1, "/d/a.bin"},
      {5, 0, "(none)"},
      {5, 1, "/d/b.bin"},
      {6, 0, "(none)"},
      {7, 0, "工作表 /b"},
      {7, 1, "内容 /b"},
      {8, 0, "记录"},
      {9, 1, "每1分钟一行"},
      {10, 0, "(none)"},
  };
  for (const auto& c : cases) EXPECT_EQ(textAt(sheet, c.row, c.column), c.text) << c.row << " " << c.column;
  // 16 digits of the longest item, 17.6 in bold, up to 18; 19 + 1 + 2 + 1 + 19 of the period.
  ASSERT_EQ(sheet.columns.size(), 2u);
  EXPECT_EQ(sheet.columns.at(0).width, 20);
  EXPECT_EQ(sheet.columns.at(1).width, 44);

  // Without files the item still says so.
  EXPECT_EQ(textAt(notesSheet(WorkbookNotes{}), 4, 1), "-");
}

}  // namespace
}  // namespace pq
