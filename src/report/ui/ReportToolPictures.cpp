#include "report/ui/ReportToolPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace pq {

namespace {

// Drawn on a 32-unit grid and scaled to the requested size.
constexpr double kGrid = 32.0;

const QColor kTile(0x2f, 0x5d, 0x8a);
const QColor kPhaseTiles[3] = {QColor(0xb8, 0x8a, 0x00), QColor(0x2a, 0x85, 0x35), QColor(0xa8, 0x2a, 0x22)};

// Starts painting on a new transparent pixmap with the rounded tile drawn.
void beginTile(QPainter& p, QPixmap& pixmap, int size, const QColor& colour) {
  pixmap = QPixmap(size, size);
  pixmap.fill(Qt::transparent);
  p.begin(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kGrid, size / kGrid);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
}

void sheet(QPainter& p, QRectF r) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(r);
}

void printerShape(QPainter& p) {
  sheet(p, QRectF(10, 5, 12, 8));
  p.setBrush(QColor(0xdd, 0xe4, 0xec));
  p.drawRoundedRect(QRectF(5, 12, 22, 10), 2, 2);
  sheet(p, QRectF(10, 19, 12, 8));
  p.setPen(QPen(kTile, 1));
  p.drawLine(QPointF(12, 22), QPointF(20, 22));
  p.drawLine(QPointF(12, 24.5), QPointF(20, 24.5));
}

void magnifier(QPainter& p) {
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(14, 14), 8, 8);
  p.drawLine(QPointF(20, 20), QPointF(27, 27));
}

void caption(QPainter& p, const QString& text, int pixelSize) {
  QFont font = p.font();
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(1, 1, 30, 30), Qt::AlignCenter, text);
}

void triangle(QPainter& p, double tipX, bool left) {
  const double d = left ? 7 : -7;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(tipX, 16), QPointF(tipX + d, 10), QPointF(tipX + d, 22)}));
}

void drawSign(QPainter& p, ReportTool tool) {
  const QPen white(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (tool) {
    case ReportTool::OpenReport: {
      QPainterPath folder;
      folder.moveTo(5, 9);
      folder.lineTo(12, 9);
      folder.lineTo(14, 11);
      folder.lineTo(26, 11);
      folder.lineTo(26, 25);
      folder.lineTo(5, 25);
      folder.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xf3, 0xc6, 0x4c));
      p.drawPath(folder);
      break;
    }
    case ReportTool::SaveReport:
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawRoundedRect(QRectF(6, 6, 20, 20), 2, 2);
      p.setBrush(kTile);
      p.drawRect(QRectF(10, 6, 11, 7));
      p.drawRect(QRectF(9, 17, 14, 9));
      break;
    case ReportTool::ExportPdf:
      sheet(p, QRectF(7, 4, 18, 24));
      p.setPen(QColor(0xc0, 0x20, 0x20));
      p.setFont([&] {
        QFont font = p.font();
        font.setPixelSize(8);
        font.setBold(true);
        return font;
      }());
      p.drawText(QRectF(7, 4, 18, 24), Qt::AlignCenter, QStringLiteral("PDF"));
      break;
    case ReportTool::ExportSheet:
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5, 6, 22, 20));
      p.setPen(QPen(QColor(0x1d, 0x6f, 0x42), 1.2));
      for (double x : {11.0, 16.5, 22.0}) p.drawLine(QPointF(x, 6), QPointF(x, 26));
      for (double y : {11.0, 16.0, 21.0}) p.drawLine(QPointF(5, y), QPointF(27, y));
      break;
    case ReportTool::Print:
      printerShape(p);
      break;
    case ReportTool::PrinterSetup:
      printerShape(p);
      p.setPen(QPen(QColor(0xf3, 0xc6, 0x4c), 2.4));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(24, 8), 3.5, 3.5);
      break;
    case ReportTool::ZoomIn:
      magnifier(p);
      p.drawLine(QPointF(10, 14), QPointF(18, 14));
      p.drawLine(QPointF(14, 10), QPointF(14, 18));
      break;
    case ReportTool::ZoomOut:
      magnifier(p);
      p.drawLine(QPointF(10, 14), QPointF(18, 14));
      break;
    case ReportTool::ZoomToWidth:
      sheet(p, QRectF(9, 5, 14, 22));
      p.setPen(QPen(kTile, 2));
      p.drawLine(QPointF(11, 16), QPointF(21, 16));
      p.setPen(white);
      p.drawLine(QPointF(4, 16), QPointF(7, 16));
      p.drawLine(QPointF(25, 16), QPointF(28, 16));
      break;
    case ReportTool::ZoomToFit:
      sheet(p, QRectF(10, 8, 12, 16));
      p.setPen(white);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(5, 5, 22, 22));
      break;
    case ReportTool::ActualSize:
      caption(p, QStringLiteral("1:1"), 11);
      break;
    case ReportTool::FirstPage:
      triangle(p, 9, true);
      p.setPen(white);
      p.drawLine(QPointF(7, 10), QPointF(7, 22));
      break;
    case ReportTool::PreviousPage:
      triangle(p, 12, true);
      break;
    case ReportTool::NextPage:
      triangle(p, 20, false);
      break;
    case ReportTool::LastPage:
      triangle(p, 23, false);
      p.setPen(white);
      p.drawLine(QPointF(25, 10), QPointF(25, 22));
      break;
    case ReportTool::Close:
      p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9, 9), QPointF(23, 23));
      p.drawLine(QPointF(23, 9), QPointF(9, 23));
      break;
  }
}

}  // namespace

QPixmap reportToolPicture(ReportTool tool, int size) {
  QPixmap pixmap;
  QPainter p;
  beginTile(p, pixmap, size, tool == ReportTool::Close ? QColor(0x8a, 0x2f, 0x2f) : kTile);
  drawSign(p, tool);
  p.end();
  return pixmap;
}

QPixmap phaseToolPicture(const QString& phase, int size) {
  const int index = phase.size() > 1 ? phase.at(1).unicode() - 'a' : 0;
  QPixmap pixmap;
  QPainter p;
  beginTile(p, pixmap, size, kPhaseTiles[index >= 0 && index < 3 ? index : 0]);
  caption(p, phase, 13);
  p.end();
  return pixmap;
}

}  // namespace pq
