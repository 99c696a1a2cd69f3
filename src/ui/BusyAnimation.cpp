#include "ui/BusyAnimation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace pq::ui {

namespace {

constexpr int kFrameInterval = 50;  // ms

void drawFolder(QPainter& p, QRectF r) {
  QPainterPath folder;
  folder.moveTo(r.left(), r.top() + r.height() * 0.15);
  folder.lineTo(r.left() + r.width() * 0.4, r.top() + r.height() * 0.15);
  folder.lineTo(r.left() + r.width() * 0.48, r.top());
  folder.lineTo(r.right(), r.top());
  folder.lineTo(r.right(), r.bottom());
  folder.lineTo(r.left(), r.bottom());
  folder.closeSubpath();
  p.setPen(QPen(QColor(0x9a, 0x74, 0x18), 1.2));
  p.setBrush(QColor(0xf3, 0xc6, 0x4c));
  p.drawPath(folder);
}

}  // namespace

BusyAnimation::BusyAnimation(QSize size, QWidget* parent) : QWidget(parent) {
  setFixedSize(size);
  hide();
  timer_.setInterval(kFrameInterval);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void BusyAnimation::start() {
  frame_ = 0;
  show();
  timer_.start();
  repaint();
}

void BusyAnimation::stop() {
  timer_.stop();
  hide();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double h = height();
  const double folderWidth = h * 0.8;
  const QRectF from(h * 0.2, h * 0.35, folderWidth, h * 0.55);
  const QRectF to(width() - folderWidth - h * 0.2, h * 0.35, folderWidth, h * 0.55);
  drawFolder(p, from);
  drawFolder(p, to);
  // One sheet on its arc from the left folder to the right one, turning as it flies.
  const double t = static_cast<double>(frame_) / (kFrames - 1);
  const double x = from.center().x() + (to.center().x() - from.center().x()) * t;
  const double y = from.top() - std::sin(t * 3.14159265) * h * 0.3;
  p.save();
  p.translate(x, y);
  p.rotate(-30 + 60 * t);
  const QRectF sheet(-h * 0.12, -h * 0.16, h * 0.24, h * 0.32);
  p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
  p.setBrush(Qt::white);
  p.drawRect(sheet);
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  for (int line = 1; line <= 3; ++line) {
    const double ly = sheet.top() + sheet.height() * line / 4.5;
    p.drawLine(QPointF(sheet.left() + 3, ly), QPointF(sheet.right() - 3, ly));
  }
  p.restore();
}

}  // namespace pq::ui
