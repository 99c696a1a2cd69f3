#include "app/BackgroundArea.h"

#include <QPainter>

namespace pq::app {

BackgroundArea::BackgroundArea(QImage picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {}

void BackgroundArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), picture_);
}

}  // namespace pq::app
