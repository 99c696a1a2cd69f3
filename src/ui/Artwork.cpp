#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <numbers>

namespace pq::ui {

namespace {

// Everything is drawn on a 32-unit grid and scaled to the requested size.
constexpr double kGrid = 32.0;

const QColor kPhaseColours[3] = {QColor(0xf2, 0xc2, 0x1b), QColor(0x3c, 0xb3, 0x4a),
                                 QColor(0xe0, 0x3c, 0x31)};

QColor tileColour(Picture picture) {
  switch (picture) {
    case Picture::LiveValues:
    case Picture::LiveWaveform:
    case Picture::LivePhasor:
    case Picture::LiveSpectrum:
      return QColor(0x1f, 0x6f, 0xc0);  // live data: blue
    case Picture::OpenRecordFile:
    case Picture::BrowseRecords:
    case Picture::HarmonicTrend:
    case Picture::ComponentTrend:
    case Picture::DeviationTrend:
    case Picture::PowerTrend:
      return QColor(0x13, 0x8a, 0x7e);  // history: teal
    case Picture::NewReport:
    case Picture::ReportHistory:
      return QColor(0xd0, 0x72, 0x14);  // reports: orange
    case Picture::Help:
    case Picture::PasswordManagement:
    case Picture::Exit:
      return QColor(0x5a, 0x65, 0x72);  // system: slate
    case Picture::PhaseA:
      return kPhaseColours[0].darker(130);
    case Picture::PhaseB:
      return kPhaseColours[1].darker(130);
    case Picture::PhaseC:
      return kPhaseColours[2].darker(130);
  }
  return Qt::gray;
}

QPainterPath wave(double left, double right, double middle, double amplitude, double periods, double phase) {
  QPainterPath path;
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const double x = left + (right - left) * i / steps;
    const double y = middle - amplitude * std::sin(2 * std::numbers::pi * periods * i / steps + phase);
    if (i == 0) {
      path.moveTo(x, y);
    } else {
      path.lineTo(x, y);
    }
  }
  return path;
}

void arrow(QPainter& p, QPointF from, double angleDegrees, double length, const QColor& colour) {
  const double a = angleDegrees * std::numbers::pi / 180.0;
  const QPointF tip(from.x() + length * std::cos(a), from.y() - length * std::sin(a));
  p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, tip);
  const double head = 4.5;
  const QPointF left(tip.x() - head * std::cos(a - 0.5), tip.y() + head * std::sin(a - 0.5));
  const QPointF right(tip.x() - head * std::cos(a + 0.5), tip.y() + head * std::sin(a + 0.5));
  p.setBrush(colour);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({tip, left, right}));
}

void page(QPainter& p, QRectF r) {
  QPainterPath path;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - 5, r.top());
  path.lineTo(r.right(), r.top() + 5);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawPath(path);
}

void drawSign(QPainter& p, Picture picture, const QColor& tile) {
  const QPen white(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(white);
  p.setBrush(Qt::NoBrush);
  switch (picture) {
    case Picture::LiveValues: {
      p.drawArc(QRectF(6, 8, 20, 20), 0, 180 * 16);
      p.drawLine(QPointF(6, 18), QPointF(26, 18));
      arrow(p, QPointF(16, 18), 55, 10, Qt::white);
      p.setPen(QPen(Qt::white, 1.6));
      p.drawLine(QPointF(9, 23), QPointF(23, 23));
      p.drawLine(QPointF(9, 26), QPointF(19, 26));
      break;
    }
    case Picture::LiveWaveform:
      for (int ph = 0; ph < 3; ++ph) {
        p.setPen(QPen(kPhaseColours[ph].lighter(130), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave(5, 27, 16, 8, 1.0, -2 * std::numbers::pi * ph / 3));
      }
      break;
    case Picture::LivePhasor:
      for (int ph = 0; ph < 3; ++ph)
        arrow(p, QPointF(16, 17), 90 - 120 * ph, 11, kPhaseColours[ph].lighter(120));
      break;
    case Picture::LiveSpectrum: {
      const std::array<double, 6> heights{18, 5, 10, 3, 7, 2};
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      for (std::size_t i = 0; i < heights.size(); ++i) {
        p.drawRect(QRectF(6 + 3.5 * static_cast<double>(i), 26 - heights[i], 2.5, heights[i]));
      }
      p.setPen(white);
      p.drawLine(QPointF(5, 26.5), QPointF(27, 26.5));
      break;
    }
    case Picture::OpenRecordFile: {
      QPainterPath folder;
      folder.moveTo(5, 10);
      folder.lineTo(12, 10);
      folder.lineTo(14, 12);
      folder.lineTo(27, 12);
      folder.lineTo(27, 25);
      folder.lineTo(5, 25);
      folder.closeSubpath();
      p.setBrush(Qt::white);
      p.setPen(Qt::NoPen);
      p.drawPath(folder);
      p.setPen(QPen(tile, 1.8, Qt::SolidLine, Qt::RoundCap));
      p.drawText(QRectF(5, 12, 22, 13), Qt::AlignCenter, QStringLiteral("bin"));
      break;
    }
    case Picture::BrowseRecords: {
      page(p, QRectF(7, 5, 16, 21));
      p.setPen(QPen(tile, 1.6));
      for (int i = 0; i < 4; ++i) p.drawLine(QPointF(10, 10 + 3.5 * i), QPointF(20, 10 + 3.5 * i));
      p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(tile);
      p.drawEllipse(QPointF(21, 20), 4.5, 4.5);
      p.drawLine(QPointF(24.2, 23.2), QPointF(27.5, 26.5));
      break;
    }
    case Picture::HarmonicTrend: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 150));
      for (int i = 0; i < 5; ++i) p.drawRect(QRectF(6 + 4.4 * i, 26 - (4 + 3 * (i % 3)), 3, 4 + 3 * (i % 3)));
      p.setPen(white);
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(
          QPolygonF({QPointF(5, 17), QPointF(11, 11), QPointF(16, 14), QPointF(21, 7), QPointF(27, 9)}));
      break;
    }
    case Picture::ComponentTrend:
      p.drawPath(wave(5, 27, 13, 5, 1.5, 0));
      p.setPen(QPen(Qt::white, 1.6, Qt::DashLine));
      p.drawLine(QPointF(5, 24), QPointF(27, 24));
      break;
    case Picture::DeviationTrend:
      p.setPen(QPen(Qt::white, 1.4, Qt::DashLine));
      p.drawLine(QPointF(5, 9), QPointF(27, 9));
      p.drawLine(QPointF(5, 23), QPointF(27, 23));
      p.setPen(white);
      p.drawPolyline(
          QPolygonF({QPointF(5, 16), QPointF(10, 13), QPointF(15, 18), QPointF(20, 14), QPointF(27, 17)}));
      break;
    case Picture::PowerTrend: {
      QFont font = p.font();
      font.setPixelSize(13);
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRectF(4, 4, 12, 13), Qt::AlignCenter, QStringLiteral("P"));
      p.drawPolyline(
          QPolygonF({QPointF(5, 25), QPointF(11, 20), QPointF(17, 22), QPointF(22, 14), QPointF(27, 11)}));
      break;
    }
    case Picture::NewReport:
      page(p, QRectF(7, 4, 17, 23));
      p.setPen(QPen(tile, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(15.5, 10), QPointF(15.5, 21));
      p.drawLine(QPointF(10, 15.5), QPointF(21, 15.5));
      break;
    case Picture::ReportHistory:
      p.setOpacity(0.6);
      page(p, QRectF(11, 4, 15, 20));
      p.setOpacity(1.0);
      page(p, QRectF(6, 8, 15, 20));
      p.setPen(QPen(tile, 1.6));
      for (int i = 0; i < 3; ++i) p.drawLine(QPointF(9, 14 + 4 * i), QPointF(18, 14 + 4 * i));
      break;
    case Picture::Help: {
      QFont font = p.font();
      font.setPixelSize(22);
      font.setBold(true);
      p.setFont(font);
      p.drawText(QRectF(0, 0, kGrid, kGrid), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case Picture::PasswordManagement:
      p.setPen(QPen(Qt::white, 2.6));
      p.drawEllipse(QPointF(11, 16), 5, 5);
      p.drawLine(QPointF(16, 16), QPointF(27, 16));
      p.drawLine(QPointF(23, 16), QPointF(23, 21));
      p.drawLine(QPointF(26, 16), QPointF(26, 20));
      break;
    case Picture::Exit:
      p.drawRect(QRectF(6, 6, 12, 20));
      arrow(p, QPointF(13, 16), 0, 14, Qt::white);
      break;
    case Picture::PhaseA:
    case Picture::PhaseB:
    case Picture::PhaseC: {
      QFont font = p.font();
      font.setPixelSize(18);
      font.setBold(true);
      p.setFont(font);
      const char* letters[] = {"A", "B", "C"};
      p.drawText(QRectF(0, 0, kGrid, kGrid), Qt::AlignCenter,
                 QString::fromLatin1(letters[static_cast<int>(picture) - static_cast<int>(Picture::PhaseA)]));
      break;
    }
  }
}

}  // namespace

QPixmap toolbarPicture(Picture picture, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / kGrid, size / kGrid);
  const QColor tile = tileColour(picture);
  QLinearGradient shade(0, 0, 0, kGrid);
  shade.setColorAt(0, tile.lighter(125));
  shade.setColorAt(1, tile.darker(115));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawRoundedRect(QRectF(1, 1, kGrid - 2, kGrid - 2), 6, 6);
  drawSign(p, picture, tile);
  return pixmap;
}

QImage backgroundPicture(const QString& title) {
  QImage image(1280, 800, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, image.height());
  sky.setColorAt(0, QColor(0x0d, 0x2a, 0x4f));
  sky.setColorAt(1, QColor(0x1b, 0x5a, 0x8c));
  p.fillRect(image.rect(), sky);
  p.setPen(QPen(QColor(255, 255, 255, 28), 1));
  for (int x = 0; x < image.width(); x += 40) p.drawLine(x, 0, x, image.height());
  for (int y = 0; y < image.height(); y += 40) p.drawLine(0, y, image.width(), y);
  for (int ph = 0; ph < 3; ++ph) {
    QColor colour = kPhaseColours[ph];
    colour.setAlpha(190);
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave(0, image.width(), 520, 150, 3.0, -2 * std::numbers::pi * ph / 3));
  }
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setPixelSize(64);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(255, 255, 255, 230));
  p.drawText(QRect(0, 120, image.width(), 100), Qt::AlignCenter, title);
  font.setPixelSize(26);
  font.setBold(false);
  p.setFont(font);
  p.setPen(QColor(255, 255, 255, 170));
  p.drawText(QRect(0, 220, image.width(), 50), Qt::AlignCenter,
             QStringLiteral("三相电能质量 · 谐波 · 偏差 · 不平衡 · 报表"));
  return image;
}

QPixmap importPanelPicture(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 0, 0, size.height());
  shade.setColorAt(0, QColor(0x13, 0x8a, 0x7e));
  shade.setColorAt(1, QColor(0x0b, 0x4f, 0x6c));
  p.fillRect(pixmap.rect(), shade);
  const double w = size.width();
  const double h = size.height();
  // A record file at the top, rows of records below, an arrow between them.
  page(p, QRectF(w * 0.25, h * 0.08, w * 0.5, h * 0.28));
  p.setPen(QPen(QColor(0x13, 0x8a, 0x7e), 2));
  for (int i = 0; i < 3; ++i) {
    const double y = h * (0.16 + 0.06 * i);
    p.drawLine(QPointF(w * 0.32, y), QPointF(w * 0.66, y));
  }
  arrow(p, QPointF(w * 0.5, h * 0.42), -90, h * 0.14, Qt::white);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 6; ++i) {
    p.setBrush(i % 2 == 0 ? QColor(255, 255, 255, 220) : QColor(255, 255, 255, 150));
    p.drawRect(QRectF(w * 0.15, h * (0.64 + 0.05 * i), w * 0.7, h * 0.04));
  }
  return pixmap;
}

}  // namespace pq::ui
