#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/CliRunner.h"
#include "report/ReportFile.h"
#include "support/TempDir.h"
#include "support/XlsReadBack.h"
#include "support/XlsxReadBack.h"

namespace pq {
namespace {

using test::runCli;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Word boxes of a PDF as pdftotext -bbox reports them (points from the top-left corner).
struct WordBox {
  double xMin, yMin;
};

std::vector<std::pair<std::string, WordBox>> pdfWords(const std::string& pdf, const std::string& html) {
  const std::string command = "pdftotext -bbox '" + pdf + "' '" + html + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  const std::regex word(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
  std::vector<std::pair<std::string, WordBox>> words;
  const std::string text = slurp(html);
  for (std::sregex_iterator it(text.begin(), text.end(), word), end; it != end; ++it) {
    words.push_back({(*it)[3].str(), {std::stod((*it)[1].str()), std::stod((*it)[2].str())}});
  }
  return words;
}

class ReportOutputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(runCli({"generate", file, "--records", "1440", "--station", "城东", "--point", "出线"}).status,
              0);
  }
  test::TempDir dir;
  std::string file = dir.file("r.bin");
};

TEST_F(ReportOutputsTest, EveryOutputOfAVoltageReport) {
  const auto result =
      runCli({"report", file, "--phase", "Ub", "--print-date", "2026-12-10 08:00:00", "--tester", "李四",
              "--cells", dir.file("c.txt"), "--qrp", dir.file("r.QRP"), "--xls", dir.file("r.xls"), "--xlsx", dir.file("r.xlsx"), "--pdf",
              dir.file("r.pdf"), "--png", dir.file("r.png")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");

  const std::string cells = slurp(dir.file("c.txt"));
  EXPECT_THAT(cells, HasSubstr("254\t46\t电能质量统计报表（B相电压）\n"));
  EXPECT_THAT(cells, HasSubstr("72\t224\t(KV)\n"));
  EXPECT_THAT(cells, HasSubstr("136\t250\t02\n"));
  EXPECT_THAT(cells, HasSubstr("392\t1008\t李四\n"));
  EXPECT_THAT(cells, HasSubstr("568\t1008\t2026-12-10 08:00:00\n"));

  const auto pages = loadReportFile(dir.file("r.QRP"));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].texts().front().text, "电能质量统计报表（B相电压）");

  const auto xls = test::readBack(dir.file("r.xls"));
  EXPECT_THAT(xls, Contains(HasSubstr("cell 37 3 text [测试人员：李四]")));
  // The workbook holds the same sheet.
  if (const auto workbook = test::readBackSheetAsXls(dir.file("r.xlsx"))) {
    EXPECT_EQ(*workbook, xls);
  }

  const std::string png = slurp(dir.file("r.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const auto width = static_cast<unsigned char>(png[18]) << 8 | static_cast<unsigned char>(png[19]);
  const auto height = static_cast<unsigned char>(png[22]) << 8 | static_cast<unsigned char>(png[23]);
  EXPECT_EQ(width, 794);
  EXPECT_EQ(height, 1123);

  // Texts stand at their design positions: 1 design pixel is 0.75 pt.
  const auto words = pdfWords(dir.file("r.pdf"), dir.file("r.html"));
  const auto at = [&](const std::string& text) -> WordBox {
    for (const auto& [w, box] : words) {
      if (w == text) return box;
    }
    ADD_FAILURE() << text << " not in the PDF";
    return {0, 0};
  };
  for (const auto& [text, x, y] : std::vector<std::tuple<std::string, int, int>>{{"合格率", 600, 184},
                                                                                 {"平均值", 376, 184},
                                                                                 {"02", 136, 250},
                                                                                 {"25", 136, 825},
                                                                                 {"±0.2Hz", 520, 944},
                                                                                 {"李四", 392, 1008}}) {
    const WordBox box = at(text);
    EXPECT_NEAR(box.xMin, x * 0.75, 1.5) << text;
    EXPECT_NEAR(box.yMin, y * 0.75, 3.0) << text;
  }
}

TEST_F(ReportOutputsTest, CurrentReportCellsAndUnwritableOutputs) {
  const auto result =
      runCli({"report", file, "--phase", "Ic", "--print-date", "x", "--cells", dir.file("c.txt")});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string cells = slurp(dir.file("c.txt"));
  EXPECT_THAT(cells, HasSubstr("254\t54\t电能质量统计报表（C相电流）\n"));
  EXPECT_THAT(cells, HasSubstr("128\t984\t25\n"));
  EXPECT_THAT(cells, HasSubstr("600\t124\tMVA\n"));

  for (const char* output : {"xls", "xlsx"}) {
    SCOPED_TRACE(output);
    const std::string path = dir.file(std::string("no/folder/r.") + output);
    const auto failed = runCli({"report", file, "--phase", "Ia", std::string("--") + output, path});
    EXPECT_EQ(failed.status, 3);
    EXPECT_THAT(failed.err, AllOf(HasSubstr(path + ": "), HasSubstr("No such file or directory")));
  }
}

}  // namespace
}  // namespace pq
