#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
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

// A drawing of each element kind, placed at (100, 200): a red box at 120..160 x 230..250, a blue
// line 3 px wide along y 300 from x 110 to 390, a green dot of 10 px at (250, 350) and a label
// whose top-left corner is at (300, 240).
ReportPage pageWithDrawing(PageDrawing& drawing) {
  drawing.width = 300;
  drawing.height = 200;
  drawing.fills.push_back({20, 30, 40, 20, {220, 30, 30}});
  drawing.polylines.push_back({{{10, 100}, {290, 100}}, {30, 60, 200}, 3, false});
  drawing.markers.push_back({{150, 150}, 10, {20, 150, 40}});
  PageLabel label;
  label.anchor = {200, 40};
  label.text = "谐波次数";
  label.font = {"Arial", 12, false};
  drawing.labels.push_back(label);
  ReportPage page;
  page.place(drawing, 100, 200);
  return page;
}

bool near(QRgb pixel, int red, int green, int blue) {
  return std::abs(qRed(pixel) - red) <= 8 && std::abs(qGreen(pixel) - green) <= 8 && std::abs(qBlue(pixel) - blue) <= 8;
}

void expectDrawing(const QImage& image, double scale) {
  const auto at = [&](double x, double y) { return image.pixel(static_cast<int>(x * scale), static_cast<int>(y * scale)); };
  EXPECT_TRUE(near(at(140, 240), 220, 30, 30)) << "the box";
  EXPECT_TRUE(near(at(200, 300), 30, 60, 200)) << "the line";
  EXPECT_TRUE(near(at(250, 350), 20, 150, 40)) << "the dot";
  EXPECT_TRUE(near(at(200, 310), 255, 255, 255)) << "beside the line";
  EXPECT_TRUE(anyDark(image, QRect(static_cast<int>(300 * scale), static_cast<int>(240 * scale),
                                   static_cast<int>(60 * scale), static_cast<int>(18 * scale))))
      << "the label";
  EXPECT_FALSE(anyDark(image, QRect(static_cast<int>(300 * scale), static_cast<int>(262 * scale),
                                    static_cast<int>(60 * scale), static_cast<int>(10 * scale))))
      << "nothing under the label";
}

TEST(ReportRenderingTest, DrawingsLandAtTheirDesignPixelsOnScreenInPdfAndAsAPicture) {
  PageDrawing drawing;
  const ReportPage page = pageWithDrawing(drawing);
  {
    SCOPED_TRACE("screen");
    expectDrawing(render(page), 1);
  }
  {
    SCOPED_TRACE("picture of the drawing alone, at twice the size");
    const QImage picture = QImage::fromData(ReportPagePainter::drawingPng(drawing, 2), "PNG");
    ASSERT_EQ(picture.size(), QSize(600, 400));
    EXPECT_TRUE(near(picture.pixel(80, 80), 220, 30, 30));
    EXPECT_TRUE(near(picture.pixel(560, 160), 255, 255, 255));
  }
  SCOPED_TRACE("PDF");
  test::TempDir dir;
  std::string error;
  ASSERT_TRUE(writeReportPdf(dir.file("d.pdf"), {page}, error)) << error;
  const std::string command = "pdftoppm -r 96 -png -singlefile '" + dir.file("d.pdf") + "' '" + dir.file("d") +
                              "' && pdftotext -enc UTF-8 '" + dir.file("d.pdf") + "' '" + dir.file("d.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  QImage rendered(QString::fromStdString(dir.file("d.png")));
  ASSERT_EQ(rendered.size(), QSize(ReportPage::kWidth, ReportPage::kHeight));
  expectDrawing(rendered, 1);
  std::ifstream in(dir.file("d.txt"), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("谐波次数"), std::string::npos) << "a chart's label can be searched";
}

}  // namespace
}  // namespace pq
