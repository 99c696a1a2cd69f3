#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "report/ReportFile.h"
#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"
#include "report/ReportPagePainter.h"
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
  setReportTitle(page, 3);
  buildCurrentPage(page, test::handFilledReport(3, 100), "2026-12-10");
  const QImage image = render(page);
  EXPECT_EQ(qGray(image.pixel(48, 600)), 0) << "the frame's left line";
  EXPECT_EQ(qGray(image.pixel(400, 210)), 0) << "the frame's top line";
  EXPECT_EQ(qGray(image.pixel(400, 212)), 255);
  EXPECT_TRUE(anyDark(image, QRect(254, 54, 200, 18))) << "the title";
  EXPECT_TRUE(anyDark(image, QRect(64, 304, 14, 16))) << "the Chinese text of the group column";
  EXPECT_FALSE(anyDark(image, QRect(10, 10, 28, 28))) << "nothing in the margin";
}

TEST(ReportRenderingTest, SavedReportRendersTheSameImage) {
  ReportPage page = voltagePageForm();
  setReportTitle(page, 0);
  buildVoltagePage(page, test::handFilledReport(0, 10), 100.0f, "2026-12-10 08:00:00");
  test::TempDir dir;
  saveReportFile(dir.file("r.QRP"), {page});
  const auto loaded = loadReportFile(dir.file("r.QRP"));
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_TRUE(render(page) == render(loaded[0]));
}

}  // namespace
}  // namespace pq
