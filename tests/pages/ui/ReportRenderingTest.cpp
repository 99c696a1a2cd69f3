#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "pages/ui/ReportPagePainter.h"
#include "pages/ui/ReportRendering.h"
#include "report/ReportFile.h"
#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"
#include "support/TempDir.h"

namespace pq {
namespace {

QImage render(const ReportPage& page) {
  QImage image(ReportPage::kWidth, ReportPage::kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  ReportPagePainter::paintPage(painter, page, 1.0);
  return image;
}

bool anyDark(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) return true;
    }
  }
  return false;
}

TEST(ReportRenderingTest, LinesAndTextsLandAtTheirDesignPixels) {
  ReportPage page = currentPageForm();
  setReportTitle(page, {Phase::A, ReportQuantity::Current});
  buildCurrentPage(page, test::handFilledReport({Phase::A, ReportQuantity::Current}, 100), "2026-12-10");
  const QImage image = render(page);
  EXPECT_EQ(qGray(image.pixel(48, 600)), 0) << "the frame's left line";
  EXPECT_EQ(qGray(image.pixel(400, 210)), 0) << "the frame's top line";
  EXPECT_EQ(qGray(image.pixel(400, 212)), 255);
  EXPECT_TRUE(anyDark(image, QRect(254, 54, 200, 18))) << "the title";
  EXPECT_TRUE(anyDark(image, QRect(64, 304, 14, 16))) << "the Chinese text of the group column";
  EXPECT_FALSE(anyDark(image, QRect(10, 10, 28, 28))) << "nothing in the margin";
}

// The lowest row with ink in the given columns.
int inkBottom(const QImage& image, int left, int right) {
  for (int y = image.height() - 1; y >= 0; --y) {
    if (anyDark(image, QRect(left, y, right - left + 1, 1))) return y;
  }
  return -1;
}

TEST(ReportRenderingTest, ChineseAndLatinTextsOnOneRowShareTheirBaseline) {
  // As on the form's label and value pairs: both texts at the same y in the page's font, the
  // Chinese one drawn by the CJK fallback font.
  ReportPage page;
  page.addText(100, 100, "工工工");
  page.addText(200, 100, "HHH");
  const QImage image = render(page);
  const int chineseBottom = inkBottom(image, 100, 190);
  const int latinBottom = inkBottom(image, 200, 290);
  ASSERT_GT(latinBottom, 100);
  EXPECT_NEAR(chineseBottom, latinBottom, 1);
  // The Latin baseline follows Arial's ascent (0.905 em of 13.33 px) below the text's top.
  EXPECT_NEAR(latinBottom, 100 + 12, 1);
}

TEST(ReportRenderingTest, SavedReportRendersTheSameImage) {
  ReportPage page = voltagePageForm();
  setReportTitle(page, {Phase::A, ReportQuantity::Voltage});
  buildVoltagePage(page, test::handFilledReport({Phase::A, ReportQuantity::Voltage}, 10), 100.0f,
                   "2026-12-10 08:00:00");
  test::TempDir dir;
  saveReportFile(dir.file("r.QRP"), {page});
  const auto loaded = loadReportFile(dir.file("r.QRP"));
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_TRUE(render(page) == render(loaded[0]));
}

TEST(ReportRenderingTest, PdfTextsCopyAsTheCharactersOfThePage) {
  // The CJK font draws 大, 小, 人 and 日 with the glyphs of the Kangxi radicals ⼤, ⼩, ⼈ and ⽇; a
  // reader copying or searching the PDF must still get the ideographs the page holds.
  ReportPage page = voltagePageForm();
  setReportTitle(page, {Phase::A, ReportQuantity::Voltage});
  buildVoltagePage(page, test::handFilledReport({Phase::A, ReportQuantity::Voltage}, 100), 1.0f,
                   "2026-12-10 08:00:00");
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(writeReportPdf(dir.file("r.pdf"), {page}, error)) << error;
  const std::string command = "pdftotext -enc UTF-8 '" + dir.file("r.pdf") + "' '" + dir.file("r.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(dir.file("r.txt"), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  for (const char* expected : {"最大值", "最小值", "测试人员：", "打印日期："}) {
    EXPECT_NE(text.str().find(expected), std::string::npos) << expected;
  }
  for (const char* radical : {"⼤", "⼩", "⼈", "⽇"}) {
    EXPECT_EQ(text.str().find(radical), std::string::npos) << radical;
  }
}

}  // namespace
}  // namespace pq
