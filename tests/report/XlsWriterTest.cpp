#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/CompoundFile.h"
#include "report/XlsFile.h"
#include "support/TempDir.h"
#include "support/XlsReadBack.h"

namespace pq::xls {
namespace {

using test::readBack;
using test::TempDir;
using ::testing::Contains;
using ::testing::HasSubstr;

CellFormat sheetWide() {
  CellFormat format;
  format.font = {"仿宋体", 10, false};
  format.vertical = VerticalAlignment::Centre;
  return format;
}

TEST(XlsWriterTest, IndependentReaderSeesValuesMergesFontsAndBorders) {
  TempDir dir;
  Worksheet sheet("Sheet1", sheetWide());
  for (int c = 0; c < 9; ++c) sheet.setColumnWidth(c, 8);
  sheet.setRowHeight(0, 50);
  for (int r = 1; r < 39; ++r) sheet.setRowHeight(r, 18);
  sheet.merge(CellRange::parse("A1:I1"));
  sheet.setHorizontal(CellRange::parse("A1:I1"), HorizontalAlignment::Centre);
  sheet.setFont(CellRange::parse("A1:I1"), {"隶书", 20, false});
  sheet.setSolidFill(CellRange::parse("A1"));
  sheet.setText(0, 0, "电能质量统计报表（A相电压）");
  sheet.setText(4, 2, "最大值");
  sheet.setText(5, 2, "5.774KV");
  sheet.setInteger(7, 1, 2);
  const CellRange table = CellRange::parse("A5:I8");
  for (Edge edge : {Edge::Left, Edge::Top, Edge::Bottom, Edge::Right})
    sheet.setBorder(table, edge, Line::Medium);
  sheet.setBorder(table, Edge::InsideVertical, Line::Thin);
  sheet.setBorder(table, Edge::InsideHorizontal, Line::Thin);
  sheet.setBorder(CellRange::parse("A6:A7"), Edge::InsideHorizontal, Line::None);

  const std::string path = dir.file("report.xls");
  std::string error;
  ASSERT_EQ(writeXlsFile(path, sheet, error), XlsWrite::Written) << error;
  const auto lines = readBack(path);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "sheet Sheet1 8 9");
  EXPECT_THAT(
      lines,
      Contains("cell 0 0 text [电能质量统计报表（A相电压）] font=隶书/20/0 h=2 v=1 fill=1 border=0000"));
  EXPECT_THAT(lines, Contains("cell 0 8 blank [] font=隶书/20/0 h=2 v=1 fill=0 border=0000"));
  EXPECT_THAT(lines, Contains("cell 4 2 text [最大值] font=仿宋体/10/0 h=0 v=1 fill=0 border=1211"));
  EXPECT_THAT(lines, Contains("cell 7 1 number [2.0] font=仿宋体/10/0 h=0 v=1 fill=0 border=1121"));
  // Column A: medium left edge; the line between A6 and A7 is gone on both sides.
  EXPECT_THAT(lines, Contains(HasSubstr("cell 5 0 blank [] font=仿宋体/10/0 h=0 v=1 fill=0 border=2101")));
  EXPECT_THAT(lines, Contains(HasSubstr("cell 6 0 blank [] font=仿宋体/10/0 h=0 v=1 fill=0 border=2011")));
  EXPECT_THAT(lines, Contains(HasSubstr("cell 7 8 blank [] font=仿宋体/10/0 h=0 v=1 fill=0 border=1122")));
  EXPECT_THAT(lines, Contains("merge 0 1 0 9"));
  EXPECT_THAT(lines, Contains("column 0 2048"));
  EXPECT_THAT(lines, Contains("column 8 2048"));
  EXPECT_THAT(lines, Contains("row 0 1000"));
  EXPECT_THAT(lines, Contains("row 38 360"));
}

TEST(XlsWriterTest, ManyLongStringsSpanContinueRecords) {
  TempDir dir;
  Worksheet sheet("Sheet1", sheetWide());
  std::vector<std::string> texts;
  for (int i = 0; i < 400; ++i) {
    texts.push_back("文本" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 37) * 3, 'x') +
                    "汉字");
    sheet.setText(i, i % 9, texts.back());
  }
  sheet.setText(400, 0, std::string(9000, 'y') + "z");  // longer than one record on its own
  const std::string path = dir.file("strings.xls");
  std::string error;
  ASSERT_EQ(writeXlsFile(path, sheet, error), XlsWrite::Written) << error;
  const auto lines = readBack(path);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "sheet Sheet1 401 9");
  for (int i : {0, 123, 399}) {
    EXPECT_THAT(lines, Contains(HasSubstr("cell " + std::to_string(i) + " " + std::to_string(i % 9) +
                                          " text [" + texts[i] + "]")));
  }
  const std::string longCell = "cell 400 0 text [" + std::string(9000, 'y') + "z]";
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind(longCell, 0) == 0;
  })) << "the 9001-character text comes back whole";
}

TEST(XlsWriterTest, CompoundFilePadsShortStreamsAndChainsSectors) {
  const auto small = compoundFile("Workbook", std::vector<std::uint8_t>(100, 1));
  EXPECT_EQ(small.size(), 512u * (1 + 8 + 1 + 1));  // header, 8 stream sectors, directory, FAT
  const auto large = compoundFile("Workbook", std::vector<std::uint8_t>(200000, 2));
  const std::size_t streamSectors = (200000 + 511) / 512;  // 391: needs 4 FAT sectors
  EXPECT_EQ(large.size(), 512u * (1 + streamSectors + 1 + 4));
  EXPECT_EQ(large[512 + 199999], 2);
}

TEST(XlsWriterTest, RangesParseInA1Notation) {
  EXPECT_EQ(CellRange::parse("A5:I36"), (CellRange{4, 0, 35, 8}));
  EXPECT_EQ(CellRange::parse("B7"), (CellRange{6, 1, 6, 1}));
  EXPECT_EQ(CellRange::parse("AA10:AB11"), (CellRange{9, 26, 10, 27}));
  for (const char* bad : {"", "A", "5", "A0", "I36:A5", "A1:", "A1-B2", "a1"}) {
    EXPECT_THROW(CellRange::parse(bad), std::invalid_argument) << bad;
  }
}

}  // namespace
}  // namespace pq::xls
