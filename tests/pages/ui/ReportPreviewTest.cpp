#include "pages/ui/ReportPreview.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "pages/ui/ReportPagePainter.h"
#include "pages/ui/ReportPrinter.h"

namespace pq {
namespace {

// A glyph as the ink shows it: its columns and its lowest inked row.
struct InkSpan {
  int left, right, bottom;
};

bool inked(QRgb pixel) { return qGray(pixel) < 100; }

// The ink of `area` split at empty columns, left to right.
std::vector<InkSpan> inkSpans(const QImage& image, const QRect& area) {
  std::vector<InkSpan> spans;
  bool open = false;
  for (int x = area.left(); x <= area.right(); ++x) {
    int bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      if (inked(image.pixel(x, y))) bottom = y;
    }
    if (bottom < 0) {
      open = false;
    } else if (!open) {
      spans.push_back({x, x, bottom});
      open = true;
    } else {
      spans.back().right = x;
      spans.back().bottom = std::max(spans.back().bottom, bottom);
    }
  }
  return spans;
}

// The paper inside the preview: the bounding box of its pure white pixels (the rest is the grey
// background and the page's shadow).
QRect paperOf(const QImage& shot) {
  QRect paper;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if ((shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) paper |= QRect(x, y, 1, 1);
    }
  }
  return paper;
}

QImage pngRendering(const ReportPage& page) {
  QImage image(ReportPage::kWidth, ReportPage::kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  ReportPagePainter::paintPage(painter, page, 1.0);
  return image;
}

// Latin letters beside Chinese characters, in one text as in the page title's "（A相电压）" or in two
// as a label and its value: in the preview they stand on one line as they do in the PNG and PDF.
TEST(ReportPreviewTest, LatinLettersStandOnTheBaselineOfTheChineseOnes) {
  ReportPage page;
  page.addText(130, 70, "报表（A", {"Arial", 14, true});
  page.addText(130, 140, "压B", {"Arial", 10, false});
  page.addText(130, 200, "电压", {"Arial", 10, false});  // a label and its value, as on the form
  page.addText(230, 200, "10KV", {"Arial", 10, false});

  const QImage png = pngRendering(page);
  ReportPrinter printer;
  ReportPreview preview(printer.printer());
  preview.resize(1000, 1300);
  preview.showPages({page});
  const QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect paper = paperOf(shot);
  ASSERT_GT(paper.width(), 700) << "the preview shows the page at about 100 %";

  struct Row {
    const char* text;
    QRect pngArea;     // in design pixels
    int chineseRight;  // the Chinese characters end left of here, the Latin letter is the last glyph
  };
  const Row rows[] = {{"报表（A", QRect(120, 60, 200, 40), 148},
                      {"压B", QRect(120, 130, 200, 30), 142},
                      {"电压 10KV", QRect(120, 190, 200, 30), 180}};
  // The Latin letter's foot relative to the lowest foot of the Chinese characters.
  auto step = [](const std::vector<InkSpan>& spans, int chineseRight) {
    int chinese = -1;
    for (const InkSpan& span : spans) {
      if (span.right < chineseRight) chinese = std::max(chinese, span.bottom);
    }
    return spans.back().bottom - chinese;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto inPng = inkSpans(png, row.pngArea);
    const auto inPreview = inkSpans(shot, row.pngArea.translated(paper.topLeft()));
    ASSERT_GE(inPng.size(), 2u);
    ASSERT_GE(inPreview.size(), 2u);
    const int pngStep = step(inPng, row.chineseRight);
    const int previewStep = step(inPreview, row.chineseRight + paper.left());
    EXPECT_NEAR(previewStep, pngStep, 1) << "PNG " << pngStep << ", preview " << previewStep;
  }
}

}  // namespace
}  // namespace pq
