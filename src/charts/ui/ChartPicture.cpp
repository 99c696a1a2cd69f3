#include "charts/ui/ChartPicture.h"

#include <qcustomplot.h>

#include <QImage>
#include <QPrinter>
#include <algorithm>
#include <stdexcept>

#include "ui/NewFileChoice.h"
#include "ui/PrintJob.h"

namespace pq::history {

namespace {

const ui::SaveDialogSettings kBitmapDialog{QStringLiteral("*.bmp (*.bmp);;All files (*.*) (*)"),
                                           QStringLiteral("bmp"), QStringLiteral("XXX.bmp")};

}  // namespace

void saveChartPicture(ui::Prompter& prompter, QWidget* parent, QCustomPlot& chart) {
  const QString path = ui::chooseNewFile(prompter, parent, kBitmapDialog, ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;

  QImage picture(chart.size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QCPPainter painter(&picture);
    chart.toPainter(&painter, chart.width(), chart.height());
  }
  if (!picture.save(path, "BMP")) {
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
