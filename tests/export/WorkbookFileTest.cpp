// What the workbook writer does when the system refuses: the reason in the error, no workbook and no
// temporary file left, the file that was there untouched. The content itself is checked against real
// readers by tests/cli/dump_xlsx_test.py.
#include "export/WorkbookFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/FileSizeLimit.h"
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
  for (const long limit : {1024L, 64L * 1024}) {
    SCOPED_TRACE(limit);
    // 6000 rows are some 200 kB of sheet data and a workbook of some 40 kB: the second limit fails
    // the rows' temporary file, which the library itself does not check, and not the packed workbook.
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

}  // namespace
}  // namespace pq
