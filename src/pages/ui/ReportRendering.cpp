#include "pages/ui/ReportRendering.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "base/AtomicFile.h"
#include "export/DocxWriter.h"
#include "pages/DocumentDocx.h"
#include "pages/ui/PdfTextMapping.h"
#include "pages/ui/ReportPagePainter.h"

namespace pq {

namespace {

bool writeBytes(const std::string& path, const QByteArray& bytes, std::string& error) {
  AtomicFile file(path);
  if (file.open() && file.write(bytes.constData(), static_cast<std::size_t>(bytes.size())) && file.commit()) {
    return true;
  }
  error = file.error();
  return false;
}

}  // namespace

bool writeReportPdf(const std::string& path, const std::vector<ReportPage>& pages, std::string& error) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("PQ Desk"));
    // Design positions are measured from the paper's corner, so the page has no margins of its own.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      ReportPagePainter::paintPage(painter, pages[i], writer.resolution() / 96.0);
    }
  }
  mapRadicalsToIdeographs(bytes);
  return writeBytes(path, bytes, error);
}

bool writeReportPng(const std::string& path, const ReportPage& page, std::string& error) {
  QImage image(ReportPage::kWidth, ReportPage::kHeight, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 dpi
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    ReportPagePainter::paintPage(painter, page, 1.0);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    error = "PNG encoding failed";
    return false;
  }
  return writeBytes(path, bytes, error);
}

bool writeReportDocx(const std::string& path, const ReportDocument& document, std::string& error) {
  constexpr double kPictureScale = 2.0;
  const DocxDocument docx = docxDocumentOf(document, [](const PageDrawing& drawing) {
    return ReportPagePainter::drawingPng(drawing, kPictureScale).toStdString();
  });
  try {
    writeDocx(docx, path);
    return true;
  } catch (const DocxWriteError& e) {
    error = e.what();
    return false;
  }
}

}  // namespace pq
