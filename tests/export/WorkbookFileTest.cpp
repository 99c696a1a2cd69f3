// What the workbook writer does when the system refuses: the reason in the error, no workbook and no
// temporary file left, the file that was there untouched; and what a real reader sees of several
// sheets and of the texts that need escaping. The dump's workbook is checked cell by cell against its
// CSV by tests/cli/dump_xlsx_test.py.
#include "export/WorkbookFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "export/ColumnWidth.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "support/XlsxReadBack.h"

namespace pq {
namespace {

using test::readBytes;
using test::TempDir;

// Rows of distinct values, some kilobytes of sheet data each hundred rows.
void writeRows(TableWriter& sheet, int rows) {
  sheet.heading({"index", "time", "value"});
  for (int row = 0; row < rows; ++row) {
    sheet.row({static_cast<long long>(row), CalendarDateTime{2013, 7, 21, 10, row / 60 % 60, row % 60},
               0.37f * static_cast<float>(row) + 0.123f});
  }
}

TEST(WorkbookFileTest, RefusedPlacesSayWhyAndLeaveNothing) {
  TempDir dir;
  test::writeBytes(dir.file("plain"), {0x31, 0x32});
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir.file("missing/book.xlsx"), "No such file or directory"},
      {dir.file("plain/book.xlsx"), "Not a directory"},
      // Refused to root as well, unlike a folder without write permission.
      {"/proc/book.xlsx", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    WorkbookFile book(c.path);
    EXPECT_FALSE(book.open());
    EXPECT_NE(book.error().find(c.reason), std::string::npos) << book.error();
    EXPECT_FALSE(book.error().empty());
    writeRows(book.addSheet("records"), 3);
    EXPECT_FALSE(book.commit());
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"plain"});
  EXPECT_EQ(readBytes(dir.file("plain")), (std::vector<std::uint8_t>{0x31, 0x32}));
}

TEST(WorkbookFileTest, FullDiskKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  const std::vector<std::uint8_t> old(100, 0x5A);
  test::writeBytes(path, old);
  std::size_t complete = 0;
  {
    WorkbookFile book(dir.file("complete.xlsx"));
    ASSERT_TRUE(book.open());
    writeRows(book.addSheet("records"), 6000);
    ASSERT_TRUE(book.commit()) << book.error();
    complete = readBytes(dir.file("complete.xlsx")).size();
    std::remove(dir.file("complete.xlsx").c_str());
  }
  // The first limit stops the sheet's rows; the second only the last byte of the archive's directory.
  for (const long limit : {1024L, static_cast<long>(complete) - 1}) {
    SCOPED_TRACE(limit);
    WorkbookFile book(path);
    {
      const test::FileSizeLimit full(static_cast<rlim_t>(limit));
      ASSERT_TRUE(book.open()) << book.error();
      writeRows(book.addSheet("records"), 6000);
      EXPECT_FALSE(book.commit());
    }
    EXPECT_NE(book.error().find("File too large"), std::string::npos) << book.error();
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"book.xlsx"});
  }
}

TEST(WorkbookFileTest, ReplacesTheTargetOnlyOnCommit) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  const std::vector<std::uint8_t> old(100, 0x5A);
  test::writeBytes(path, old);
  {
    WorkbookFile abandoned(path);
    ASSERT_TRUE(abandoned.open());
    writeRows(abandoned.addSheet("records"), 50);
  }
  EXPECT_EQ(readBytes(path), old);
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"book.xlsx"});

  WorkbookFile book(path);
  ASSERT_TRUE(book.open());
  writeRows(book.addSheet("records"), 50);
  ASSERT_TRUE(book.commit()) << book.error();
  const std::vector<std::uint8_t> written = readBytes(path);
  ASSERT_GT(written.size(), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.begin() + 4),
            (std::vector<std::uint8_t>{'P', 'K', 3, 4}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"book.xlsx"});
}

TEST(WorkbookFileTest, ACellWithoutValueIsEmptyNotZero) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  WorkbookFile book(path);
  ASSERT_TRUE(book.open());
  TableWriter& sheet = book.addSheet("s");
  sheet.heading({"a", "b", "c"});
  sheet.row({17LL, TableCell(), 2.5f});
  sheet.row({TableCell(), std::string("x")});
  ASSERT_TRUE(book.commit()) << book.error();
  const auto cells = test::readBackWorkbook(path);
  if (!cells) GTEST_SKIP() << "python3-openpyxl is not installed";
  EXPECT_EQ(*cells, (std::vector<std::string>{"s 1 1 text a", "s 1 2 text b", "s 1 3 text c",
                                              "s 2 1 number 17", "s 2 2 empty", "s 2 3 number 2.5",
                                              "s 3 1 empty", "s 3 2 text x", "s 3 3 empty"}));
}

TEST(WorkbookFileTest, BadSheetNameFailsTheWorkbook) {
  TempDir dir;
  WorkbookFile book(dir.file("book.xlsx"));
  ASSERT_TRUE(book.open());
  writeRows(book.addSheet("a/b"), 2);
  EXPECT_FALSE(book.commit());
  EXPECT_FALSE(book.error().empty());
  EXPECT_TRUE(dir.entries().empty());
}

// Each sheet as openpyxl reads it: its name and frozen heading, then per row each cell's value, "/b"
// for bold and the number format of a date-time.
std::string openpyxlView(const std::string& path) {
  return test::commandOutput(
      "/usr/bin/python3 -c 'import sys, openpyxl\n"
      "for s in openpyxl.load_workbook(sys.argv[1]).worksheets:\n"
      "  print(s.title, s.freeze_panes, s.dimensions)\n"
      "  for row in s.iter_rows():\n"
      "    print(\" | \".join(repr(c.value) + (\"/b\" if c.font.b else \"\") + (\"/\" + c.number_format if c.is_date else \"\") for c in row))\n"
      "' '" + path + "' 2>&1");
}

TEST(WorkbookFileTest, ReaderSeesEverySheet) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  WorkbookFile book(path);
  ASSERT_TRUE(book.open());
  TableWriter& first = book.addSheet("Records & more");
  first.heading({"index", "a < b", " lead", "time"});
  first.row({42LL, 0.1f, std::string("x \"q\" & <y> "), CalendarDateTime{2013, 7, 21, 9, 58, 47}});
  first.row({-1234567LL, std::nanf(""), -2.5e-300, CalendarDateTime{2000, 3, 1, 0, 0, 1}});
  // openpyxl does not decode the format's _xHHHH_ escapes, as Excel and LibreOffice do: it shows
  // them, and the workbook that holds a control character still opens.
  first.row({std::string("bell\x07"), std::string("_x0041_"), -INFINITY, 3.4e38f});
  TableWriter& second = book.addSheet("second");
  second.row({7LL});
  ASSERT_TRUE(book.commit()) << book.error();
  EXPECT_EQ(openpyxlView(path),
            "Records & more A2 A1:D4\n"
            "'index'/b | 'a < b'/b | ' lead'/b | 'time'/b\n"
            "42 | 0.1 | 'x \"q\" & <y> ' | datetime.datetime(2013, 7, 21, 9, 58, 47)/yyyy-mm-dd hh:mm:ss\n"
            "-1234567 | 'nan' | -2.5e-300 | datetime.datetime(2000, 3, 1, 0, 0, 1)/yyyy-mm-dd hh:mm:ss\n"
            "'bell_x0007_' | '_x005F_x0041_' | '-inf' | 3.4e+38\n"
            "second None A1:A1\n"
            "7\n");
}

// Each column's width, then each cell of the rows below the heading with its number format.
std::string openpyxlColumns(const std::string& path) {
  return test::commandOutput(
      "/usr/bin/python3 -c 'import sys, openpyxl\n"
      "s = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
      "print(s.freeze_panes, [s.column_dimensions[c].width for c in \"ABCD\"])\n"
      "for row in s.iter_rows(min_row=2):\n"
      "  print(\" | \".join(repr(c.value) + \"/\" + c.number_format for c in row))\n"
      "' '" + path + "' 2>&1");
}

// The number formats given to the columns show their floats and doubles, the values kept whole, and
// leave whole numbers in General; every column is as wide as its heading (a Chinese character as two
// digits, bold a tenth wider) or its first value with two digits more, and a margin.
TEST(WorkbookFileTest, ColumnsShowTheirFormatsAndFitHeadingsAndValues) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  WorkbookFile book(path);
  ASSERT_TRUE(book.open());
  TableWriter& sheet = book.addSheet("值");
  sheet.numberFormats({"", "0.000", "0.00", "0.00"});
  sheet.heading({"时间", "A相电压有效值(V)", "频率(Hz)", "n"});
  sheet.row({CalendarDateTime{2013, 7, 21, 9, 58, 47}, 5.774507787351925, 50.0125f, 12LL});
  sheet.row({CalendarDateTime{2013, 7, 21, 9, 58, 48}, -1234.5, 49.98f, 7LL});
  ASSERT_TRUE(book.commit()) << book.error();
  // Widths: 19 + 2 + 1; 16 x 1.1 up to 18, + 1; 8 x 1.1 up to 9, + 1; "12" + 2 + 1.
  EXPECT_EQ(openpyxlColumns(path),
            "A2 [22.0, 19.0, 10.0, 5.0]\n"
            "datetime.datetime(2013, 7, 21, 9, 58, 47)/yyyy-mm-dd hh:mm:ss | 5.774507787351925/0.000 | "
            "50.0125/0.00 | 12/General\n"
            "datetime.datetime(2013, 7, 21, 9, 58, 48)/yyyy-mm-dd hh:mm:ss | -1234.5/0.000 | 49.98/0.00 | "
            "7/General\n");
}

TEST(WorkbookFileTest, WidthsOfTextsAndValues) {
  const struct {
    const char* heading;
    TableCell first;
    const char* format;
    double width;
  } cases[] = {
      {"uaRms", 230.125f, "0.000", 10},              // "230.125" and two digits more, + 1
      {"uaRms", -0.5f, "0.000", 9},                   // "-0.500"
      {"uaRms", 57.734f, "", 9},                      // General: the shortest text, "57.734"
      {"x", 1.2345678e-5f, "", 14},                   // General shows at most 11 characters
      {"Ua 5次谐波含有率(%)", 1.5f, "0.00", 22},      // 3 + 1 + 12 + 3 = 19 x 1.1
      {"相别", std::string("A C"), "", 6},            // "A C" + 2 + 1
      {"序号", 1234567LL, "0.00", 10},                // whole numbers as they are
      {"说明", TableCell(), "", 6},                   // no value: the heading alone, 4 x 1.1
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(columnWidth(c.heading, c.first, c.format), c.width);
  }
}

// A form laid out cell by cell before two tables, in a workbook with a Normal font of its own: the
// form's values, formats, merges, widths and heights as openpyxl reads them, and the tables still with
// their date-times.
TEST(WorkbookFileTest, LaidOutSheetBesideTables) {
  TempDir dir;
  const std::string path = dir.file("book.xlsx");
  WorkbookStyles styles({"宋体", 12, false, 134});
  CellStyle title;
  title.font = {"隶书", 20, false, 134};
  title.horizontal = CellHorizontal::Centre;
  title.vertical = CellVertical::Centre;
  title.top = CellLine::Medium;
  CellStyle titleEnd = title;
  titleEnd.right = CellLine::Thin;
  CellStyle titleStart = title;
  titleStart.solidFill = true;
  CellStyle value;
  value.font = {"宋体", 12, false, 134};
  value.numberFormat = "0.00\" kV\"";
  value.vertical = CellVertical::Centre;
  value.left = value.right = value.top = value.bottom = CellLine::Thin;
  CellStyle top;
  top.font = {"宋体", 12, false, 134};
  top.vertical = CellVertical::Top;

  SheetLayout form;
  form.cells[{0, 0}] = {std::string("表 & <标题>"), styles.add(titleStart)};
  form.cells[{0, 1}] = {std::monostate{}, styles.add(title)};
  form.cells[{0, 2}] = {std::monostate{}, styles.add(titleEnd)};
  form.cells[{2, 1}] = {42LL, styles.add(value)};
  form.cells[{3, 4}] = {std::monostate{}, styles.add(top)};
  form.columns[0] = {8.5, WorkbookStyles::kPlain};
  form.columns[2] = {12, styles.add(top)};
  form.rowHeights = {{0, 30.5}, {5, 18}};
  form.merges = {{0, 0, 0, 2}, {2, 1, 3, 1}};

  WorkbookFile book(path, std::move(styles));
  ASSERT_TRUE(book.open());
  book.addSheet("form", form);
  TableWriter& records = book.addSheet("records");
  records.heading({"index", "time"});
  records.row({7LL, CalendarDateTime{2013, 7, 21, 9, 58, 47}});
  book.addSheet("after").row({std::string("x")});
  ASSERT_TRUE(book.commit()) << book.error();

  const auto lines = test::readBackSheetAsXls(path);
  if (!lines) GTEST_SKIP() << "python3-openpyxl is not installed";
  EXPECT_EQ(*lines, (std::vector<std::string>{
                        "sheet form 4 5",
                        "cell 0 0 text [表 & <标题>] font=隶书/20/0 h=2 v=1 fill=1 border=0200",
                        "cell 0 1 blank [] font=隶书/20/0 h=2 v=1 fill=0 border=0200",
                        "cell 0 2 blank [] font=隶书/20/0 h=2 v=1 fill=0 border=0201",
                        "cell 2 1 number [42.0] font=宋体/12/0 h=0 v=1 fill=0 border=1111",
                        "format 2 1 0.00\" kV\"",
                        "cell 3 4 blank [] font=宋体/12/0 h=0 v=0 fill=0 border=0000",
                        "merge 0 1 0 3",
                        "merge 2 4 1 2",
                        "column 0 2176",
                        "column 2 3072",
                        "row 0 610",
                        "row 5 360",
                    }));
  const auto values = test::readBackWorkbook(path);
  ASSERT_TRUE(values);
  EXPECT_THAT(*values, ::testing::IsSupersetOf({"form 1 1 text 表 & <标题>", "form 3 2 number 42", "records 1 1 text index",
                                               "records 2 1 number 7", "records 2 2 datetime 2013-07-21 09:58:47",
                                               "after 1 1 text x"}));
}

TEST(WorkbookFileTest, MisusedSheetsFailTheWorkbook) {
  TempDir dir;
  const auto twoSheets = [&](std::string_view a, std::string_view b, bool backToFirst) {
    WorkbookFile book(dir.file("book.xlsx"));
    EXPECT_TRUE(book.open());
    TableWriter& first = book.addSheet(a);
    writeRows(first, 2);
    writeRows(book.addSheet(b), 2);
    if (backToFirst) first.row({1LL});
    const bool committed = book.commit();
    EXPECT_EQ(committed, book.error().empty()) << book.error();
    return committed;
  };
  EXPECT_TRUE(twoSheets("day", "night", false));
  EXPECT_FALSE(twoSheets("day", "night", true));
  EXPECT_FALSE(twoSheets("Day", "dAY", false));
  EXPECT_FALSE(twoSheets("day", "'night'", false));
  EXPECT_FALSE(twoSheets("day", std::string(32, 'n'), false));
  EXPECT_TRUE(twoSheets("day", std::string(31, 'n'), false));
  EXPECT_FALSE(twoSheets("day", "", false));
}

// A sheet has 16 384 columns: a wider row would need a size the sheet's top has no room for.
TEST(WorkbookFileTest, TooWideARowFailsTheWorkbook) {
  TempDir dir;
  for (const std::size_t width : {16384u, 16385u}) {
    SCOPED_TRACE(width);
    WorkbookFile book(dir.file("book.xlsx"));
    ASSERT_TRUE(book.open());
    book.addSheet("wide").row(TableRow(width, TableCell(1LL)));
    EXPECT_EQ(book.commit(), width == 16384u) << book.error();
  }
}

}  // namespace
}  // namespace pq
