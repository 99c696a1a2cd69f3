#include "charts/ui/PhasorDiagramPainter.h"

#include <QPainter>

namespace pq::history {

namespace {

QColor toColour(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

}  // namespace

void PhasorDiagramPainter::paint(QPainter& painter, const PhasorDiagram& diagram, const QRect& area) {
  const QPointF origin(area.left() + kOriginPixel, area.top() + kOriginPixel);
  auto pixel = [&](LogicalPoint p) {
    return QPointF(origin.x() + p.x / kUnitsPerPixel, origin.y() - p.y / kUnitsPerPixel);
  };
  auto pen = [](Rgb colour, double width) {
    return QPen(toColour(colour), width / kUnitsPerPixel, Qt::SolidLine, Qt::RoundCap);
  };

  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const PhasorShape& shape : diagram) {
    if (const auto* square = std::get_if<FilledSquare>(&shape)) {
      painter.fillRect(QRectF(pixel(square->topLeft), pixel(square->bottomRight)), toColour(square->colour));
    } else if (const auto* circle = std::get_if<Circle>(&shape)) {
      painter.setPen(pen(circle->colour, circle->penWidth));
      painter.setBrush(Qt::NoBrush);
      const double radius = circle->radius / kUnitsPerPixel;
      painter.drawEllipse(pixel(circle->centre), radius, radius);
    } else if (const auto* line = std::get_if<Line>(&shape)) {
      painter.setPen(pen(line->colour, line->penWidth));
      painter.drawLine(pixel(line->from), pixel(line->to));
    } else if (const auto* text = std::get_if<Text>(&shape)) {
      QFont font = painter.font();
      font.setBold(text->bold);
      font.setPixelSize(std::max(1, qRound(text->height / kUnitsPerPixel)));
      painter.setFont(font);
      painter.setPen(toColour(text->colour));
      const QPointF corner = pixel(text->position);
      painter.drawText(QRectF(corner, QSizeF(area.width(), area.height())), Qt::AlignLeft | Qt::AlignTop,
                       QString::fromStdString(text->text));
    }
  }
  painter.restore();
}

}  // namespace pq::history
