// The report sheet as an .xlsx workbook against the .xls of the same sheet, each read by an
// independent reader (openpyxl, xlrd), and what a failed write leaves. The facts of the sheet itself
// are checked in both formats by ReportSheetTest.
#include "report/XlsxFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportSheet.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/XlsReadBack.h"
#include "support/XlsxReadBack.h"

namespace pq::xls {
namespace {

using ::testing::Contains;
using ::testing::UnorderedElementsAre;

Worksheet handFilledSheet(ReportKind kind, float samples) {
  return reportSheet(buildReportPage(test::handFilledReport(kind, samples), 100.0f, "2026-12-10 08:00:00"),
                     kind.quantity);
}

// Every cell with its value, font, alignment, fill and borders, every merge, width and height: the
// voltage sheet with stars for too few samples, the current sheet with its own merges.
TEST(XlsxFileTest, ReadsAsTheXlsOfTheSameSheet) {
  for (const auto& [kind, samples] : {std::pair{ReportKind{Phase::A, ReportQuantity::Voltage}, 10.0f},
                                      std::pair{ReportKind{Phase::C, ReportQuantity::Current}, 100.0f}}) {
    SCOPED_TRACE(kind.name());
    test::TempDir dir;
    const Worksheet sheet = handFilledSheet(kind, samples);
    std::string error;
    ASSERT_EQ(writeXlsFile(dir.file("r.xls"), sheet, error), XlsWrite::Written) << error;
    ASSERT_EQ(writeXlsxFile(dir.file("r.xlsx"), sheet, error), XlsWrite::Written) << error;
    const auto workbook = test::readBackSheetAsXls(dir.file("r.xlsx"));
    if (!workbook) GTEST_SKIP() << "python3-openpyxl is not installed";
    const auto xls = test::readBack(dir.file("r.xls"));
    EXPECT_THAT(xls, Contains("merge 0 1 0 9"));  // the .xls was read
    EXPECT_EQ(*workbook, xls);
  }
}

// The file is written whole or not at all: the reason comes back, and the file that was there stays.
TEST(XlsxFileTest, AFailedWriteLeavesNothingAndSaysWhy) {
  test::TempDir dir;
  test::writeBytes(dir.file("plain"), {0x31, 0x32});
  const std::vector<std::uint8_t> old(100, 0x5A);
  test::writeBytes(dir.file("r.xlsx"), old);
  const struct {
    const char* name;
    std::string path;
    std::optional<rlim_t> sizeLimit;
    XlsWrite result;
    std::string reason;
  } cases[] = {
      {"missing folder", dir.file("missing/r.xlsx"), std::nullopt, XlsWrite::NotCreated,
       "No such file or directory"},
      {"file in place of the folder", dir.file("plain/r.xlsx"), std::nullopt, XlsWrite::NotCreated,
       "Not a directory"},
      {"full disk", dir.file("r.xlsx"), 1024, XlsWrite::Failed, "File too large"},
  };
  const Worksheet sheet = handFilledSheet({Phase::A, ReportQuantity::Voltage}, 100);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    {
      std::optional<test::FileSizeLimit> limit;
      if (c.sizeLimit) limit.emplace(*c.sizeLimit);
      EXPECT_EQ(writeXlsxFile(c.path, sheet, error), c.result);
    }
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_THAT(dir.entries(), UnorderedElementsAre("plain", "r.xlsx"));
    EXPECT_EQ(test::readBytes(dir.file("r.xlsx")), old);
  }
}

}  // namespace
}  // namespace pq::xls
