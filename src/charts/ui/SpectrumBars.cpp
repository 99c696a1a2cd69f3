#include "charts/ui/SpectrumBars.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pq::history {

namespace {

// The chart's standard palette: strong colours first, repeated from the start after the last.
const std::array<QColor, 20> kPalette = {
    QColor(255, 0, 0),     QColor(0, 128, 0),     QColor(255, 255, 0),   QColor(0, 0, 255),
    QColor(255, 255, 255), QColor(128, 128, 128), QColor(255, 0, 255),   QColor(0, 128, 128),
    QColor(0, 0, 128),     QColor(128, 0, 0),     QColor(0, 255, 0),     QColor(128, 128, 0),
    QColor(128, 0, 128),   QColor(192, 192, 192), QColor(0, 255, 255),   QColor(0, 0, 0),
    QColor(192, 220, 192), QColor(166, 202, 240), QColor(255, 251, 240), QColor(160, 160, 164),
};

}  // namespace

SpectrumBars::SpectrumBars(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPBars(keyAxis, valueAxis) {
  setPen(QPen(Qt::black));
  setWidth(0.7);
  // Crisp edges: every bar keeps its one fill colour to the outline.
  setAntialiased(false);
}

QColor SpectrumBars::paletteColour(int position) {
  return kPalette[static_cast<std::size_t>(position) % kPalette.size()];
}

void SpectrumBars::draw(QCPPainter* painter) {
  if (mKeyAxis.isNull() || mValueAxis.isNull() || mDataContainer->isEmpty()) return;
  applyDefaultAntialiasingHint(painter);
  // The depth reaches about halfway into the next bar, so the look shows even on a small chart.
  const double spacing = std::abs(mKeyAxis->coordToPixel(2) - mKeyAxis->coordToPixel(1));
  const QPointF back(std::clamp(spacing * 0.45, 2.0, 10.0), -std::clamp(spacing * 0.45, 2.0, 10.0));
  int position = 0;
  for (auto it = mDataContainer->constBegin(); it != mDataContainer->constEnd(); ++it, ++position) {
    if (it->value == 0) continue;  // nothing to show, not even a flat outline on the axis
    const QRectF front = getBarRect(it->key, it->value).normalized();
    const QColor colour = paletteColour(position);
    // A narrow bar outlined in black would show little of its colour: it gets a darker rim instead.
    painter->setPen(front.width() >= 6 ? mPen : QPen(colour.darker(150)));
    if (threeD_) {
      const QPolygonF side{front.topRight(), front.topRight() + back, front.bottomRight() + back,
                           front.bottomRight()};
      const QPolygonF top{front.topLeft(), front.topLeft() + back, front.topRight() + back, front.topRight()};
      painter->setBrush(colour.darker(160));
      painter->drawPolygon(side);
      painter->setBrush(colour.darker(125));
      painter->drawPolygon(top);
    }
    painter->setBrush(colour);
    painter->drawRect(front);
  }
}

}  // namespace pq::history
