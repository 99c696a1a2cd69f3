#include "charts/ui/ChartPicture.h"

#include <qcustomplot.h>

#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

#include "ui/NewFileChoice.h"
#include "ui/PrintJob.h"

namespace pq::history {

namespace {

// A station's name may hold characters that no file name may.
QString proposedPictureName(const QString& station, const QString& page) {
  QString name = station.trimmed().isEmpty() ? page : station.trimmed() + QLatin1Char('_') + page;
  static const QRegularExpression notInFileNames(QStringLiteral("[\\\\/:*?\"<>|]"));
  return name.replace(notInFileNames, QStringLiteral("_")) + QStringLiteral(".bmp");
}

}  // namespace

void saveChartPicture(ui::Prompter& prompter, QWidget* parent, QCustomPlot& chart, const QString& station,
                      const QString& page) {
  const QString path = ui::chooseNewFile(prompter, parent,
                                         {QStringLiteral("BMP 图片 (*.bmp);;PNG 图片 (*.png)"),
                                          QStringLiteral("bmp"), proposedPictureName(station, page)},
                                         ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;

  QImage picture(chart.size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QCPPainter painter(&picture);
    chart.toPainter(&painter, chart.width(), chart.height());
  }
  const bool png = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  if (!picture.save(path, png ? "PNG" : "BMP")) {
    throw std::runtime_error("无法写入文件 " + path.toStdString());
  }
}

void printChartPicture(QCustomPlot& chart) {
  QPrinter printer(QPrinter::HighResolution);
  printChartPicture(chart, printer);
}

void printChartPicture(QCustomPlot& chart, QPrinter& printer) {
  QCPPainter painter;
  ui::beginPrinting(painter, printer);
  painter.setMode(QCPPainter::pmVectorized);
  painter.setMode(QCPPainter::pmNoCaching);
  // The chart keeps its own proportions and fills the printable area in one direction.
  const double scale = std::min(static_cast<double>(printer.width()) / chart.width(),
                                static_cast<double>(printer.height()) / chart.height());
  painter.scale(scale, scale);
  chart.toPainter(&painter, chart.width(), chart.height());
  ui::endPrinting(painter);
}

}  // namespace pq::history
