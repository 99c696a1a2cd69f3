#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"
#include "report/ReportSheet.h"
#include "report/XlsFile.h"
#include "report/XlsxFile.h"
#include "support/TempDir.h"
#include "support/XlsReadBack.h"
#include "support/XlsxReadBack.h"

namespace pq {
namespace {

using test::handFilledReport;
using ::testing::Contains;
using ::testing::HasSubstr;

// The sheet goes into both workbook formats, each read back by a reader of its own (xlrd, openpyxl)
// into the same lines: the facts below hold for either file.
class ReportSheetTest : public ::testing::TestWithParam<const char*> {
 protected:
  std::vector<std::string> exported(const ReportPage& page, ReportQuantity quantity) {
    const std::string suffix = GetParam();
    const std::string path = dir.file("r." + suffix);
    const auto write = suffix == "xlsx" ? &xls::writeXlsxFile : &xls::writeXlsFile;
    std::string error;
    EXPECT_EQ(write(path, reportSheet(page, quantity), error), xls::XlsWrite::Written) << error;
    if (suffix == "xls") return test::readBack(path);
    if (auto lines = test::readBackSheetAsXls(path)) return *lines;
    skipped = true;
    return {};
  }

  test::TempDir dir;
  bool skipped = false;  // no reader for the format
};

// "cell ROW COL KIND [VALUE]" with 1-based rows and columns as the sheet is described (A1 = 1 1).
std::string cellLine(int row, int column, const std::string& kind, const std::string& value) {
  return "cell " + std::to_string(row - 1) + " " + std::to_string(column - 1) + " " + kind + " [" + value +
         "]";
}

TEST_P(ReportSheetTest, VoltageSheetCarriesThePageTexts) {
  ReportPage page = voltagePageForm();
  setReportTitle(page, {Phase::A, ReportQuantity::Voltage});
  buildVoltagePage(page, handFilledReport({Phase::A, ReportQuantity::Voltage}, 10), 100.0f,
                   "2026-12-10 08:00:00");
  const auto lines = exported(page, ReportQuantity::Voltage);
  if (skipped) GTEST_SKIP() << "python3-openpyxl is not installed";
  ASSERT_FALSE(lines.empty());
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(1, 1, "text", "电能质量统计报表（A相电压）") +
                                        " font=隶书/20/0 h=2 v=1 fill=1")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(2, 1, "text", "变(配)电所名称：城东变电站") +
                                        " font=仿宋体/10/0 h=0")));
  EXPECT_THAT(
      lines,
      Contains(HasSubstr(cellLine(4, 1, "text", "统计 起止 时间：2010-04-19 15:39至2010-04-20 15:38"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(7, 1, "text", "(KV)"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(6, 3, "text", "1.123 KV") + " font=仿宋体/10/0 h=2 v=1")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(6, 6, "text", "*"))));  // fewer than 20 samples
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(8, 2, "number", "2.0"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(31, 2, "number", "25.0"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(31, 8, "text", "75.00000%"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(12, 1, "text", "24"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(35, 7, "text", "±0.2Hz"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(36, 7, "text", "2.00%"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(38, 6, "text", "打印日期：2026-12-10 08:00:00"))));
  for (const char* merge :
       {"merge 0 1 0 9", "merge 1 2 0 5", "merge 1 2 5 9", "merge 2 3 0 4", "merge 3 4 0 6", "merge 4 5 0 2",
        "merge 31 32 0 2", "merge 35 36 0 2", "merge 37 38 0 3", "merge 37 38 3 5", "merge 37 38 5 9"}) {
    EXPECT_THAT(lines, Contains(merge));
  }
  // Borders LTBR: the medium outline, thin inside, and column A's blocks undivided.
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(5, 1, "text", "参数") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=2211")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(6, 1, "text", "基波") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=2101")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(7, 1, "text", "(KV)") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=2011")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(9, 1, "blank", "") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=2001")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(36, 9, "blank", "") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=1122")));
  EXPECT_THAT(lines, Contains("column 0 2048"));
  EXPECT_THAT(lines, Contains("row 0 1000"));
  EXPECT_THAT(lines, Contains("row 38 360"));
}

TEST_P(ReportSheetTest, CurrentSheetCarriesThePageTexts) {
  ReportPage page = currentPageForm();
  setReportTitle(page, {Phase::C, ReportQuantity::Current});
  buildCurrentPage(page, handFilledReport({Phase::C, ReportQuantity::Current}, 100), "d");
  const auto lines = exported(page, ReportQuantity::Current);
  if (skipped) GTEST_SKIP() << "python3-openpyxl is not installed";
  ASSERT_FALSE(lines.empty());
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(1, 1, "text", "电能质量统计报表（C相电流）"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(3, 6, "text", "最小 短路 容量：182MVA"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(4, 1, "text", "供电 设备 容量：120MVA"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(4, 6, "text", "用户 协议 容量：150MVA"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(7, 1, "text", "基波电流(A)"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(12, 1, "text", "24"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(21, 1, "text", "(A)"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(8, 7, "text", "28.00 A"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(32, 3, "text", "30.1%"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(34, 4, "text", "测试人员：张三"))));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(6, 1, "text", "参数") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=2211")));
  EXPECT_THAT(lines, Contains(HasSubstr(cellLine(32, 9, "blank", "") +
                                        " font=仿宋体/10/0 h=2 v=1 fill=0 border=1122")));
  EXPECT_THAT(
      lines, Contains(HasSubstr(cellLine(5, 1, "text", "统计 起止 时间：2010-04-19 15:39至2010-04-20 15:38") +
                                " font=仿宋体/10/0 h=0")));
}

INSTANTIATE_TEST_SUITE_P(Formats, ReportSheetTest, ::testing::Values("xls", "xlsx"),
                         [](const ::testing::TestParamInfo<const char*>& format) { return std::string(format.param); });

}  // namespace
}  // namespace pq
