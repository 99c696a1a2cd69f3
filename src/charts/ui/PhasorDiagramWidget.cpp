#include "charts/ui/PhasorDiagramWidget.h"

#include <QPainter>

#include "charts/ui/PhasorDiagramPainter.h"

namespace pq::history {

PhasorDiagramWidget::PhasorDiagramWidget(QWidget* parent) : QWidget(parent), diagram_(phasorBackground()) {
  setFixedSize(sizeHint());
  setAccessibleName(QStringLiteral("矢量图"));
}

void PhasorDiagramWidget::drawPhasorBackground() {
  diagram_ = phasorBackground();
  update();
}

void PhasorDiagramWidget::drawPhasors(int wiringMode, const PhasorAngles& angles) {
  addPhasors(diagram_, wiringMode, angles);
  update();
}

QSize PhasorDiagramWidget::sizeHint() const {
  return {PhasorDiagramPainter::kAreaSide, PhasorDiagramPainter::kAreaSide};
}

void PhasorDiagramWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PhasorDiagramPainter::paint(painter, diagram_, rect());
}

}  // namespace pq::history
