#include "pages/ui/ReportPagePainter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPolygonF>
#include <cmath>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace pq {

namespace {

// Texts are laid out in tenths of a design pixel so that font sizes such as 10 pt (13.33 px) keep
// their fraction while Qt takes whole pixel sizes.
constexpr double kSubdivision = 10.0;

QColor qtColour(const PageColour& colour) { return QColor(colour.red, colour.green, colour.blue); }

QPointF scaled(const PagePoint& p) { return QPointF(p.x * kSubdivision, p.y * kSubdivision); }

// The elements of a drawing, on a painter that maps tenths of a design pixel.
void paintElements(QPainter& painter, const PageDrawing& drawing) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  for (const PageFill& fill : drawing.fills) {
    painter.fillRect(QRectF(fill.x * kSubdivision, fill.y * kSubdivision, fill.width * kSubdivision,
                            fill.height * kSubdivision),
                     qtColour(fill.colour));
  }
  for (const PagePolyline& line : drawing.polylines) {
    QPen pen(qtColour(line.colour));
    pen.setWidthF(line.width * kSubdivision);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (line.dashed) pen.setDashPattern({4, 3});
    painter.setPen(pen);
    QPolygonF points;
    points.reserve(static_cast<int>(line.points.size()));
    for (const PagePoint& p : line.points) points << scaled(p);
    painter.drawPolyline(points);
  }
  painter.setPen(Qt::NoPen);
  for (const PageMarker& marker : drawing.markers) {
    painter.setBrush(qtColour(marker.colour));
    const double r = marker.diameter * kSubdivision / 2;
    painter.drawEllipse(scaled(marker.centre), r, r);
  }
  painter.setBrush(Qt::NoBrush);
  for (const PageLabel& label : drawing.labels) {
    if (label.text.empty()) continue;
    const QFont font = ReportPagePainter::qtFont(label.font);
    const QFontMetricsF metrics(font, painter.device());
    const QString content = QString::fromStdString(label.text);
    const double width = metrics.horizontalAdvance(content);
    double dx = 0;
    if (label.horizontal == PageLabel::Horizontal::Centre) dx = -width / 2;
    if (label.horizontal == PageLabel::Horizontal::Right) dx = -width;
    double baseline = metrics.ascent();
    if (label.vertical == PageLabel::Vertical::Middle) baseline = (metrics.ascent() - metrics.descent()) / 2;
    if (label.vertical == PageLabel::Vertical::Bottom) baseline = -metrics.descent();
    painter.save();
    painter.translate(scaled(label.anchor));
    painter.rotate(label.angle);
    // As paintPage's texts: glyph outlines for a recording, which keeps them where they were drawn,
    // text elsewhere (so that a PDF's chart labels can be searched).
    if (painter.paintEngine()->type() == QPaintEngine::Picture) {
      QPainterPath outlines;
      outlines.addText(QPointF(dx, baseline), font, content);
      painter.fillPath(outlines, qtColour(label.colour));
    } else {
      painter.setFont(font);
      painter.setPen(qtColour(label.colour));
      painter.drawText(QPointF(dx, baseline), content);
      painter.setPen(Qt::NoPen);
    }
    painter.restore();
  }
  painter.restore();
}

}  // namespace

void ReportPagePainter::paintDrawing(QPainter& painter, const PageDrawing& drawing, double pixelsPerDesignPixel) {
  painter.save();
  painter.scale(pixelsPerDesignPixel / kSubdivision, pixelsPerDesignPixel / kSubdivision);
  paintElements(painter, drawing);
  painter.restore();
}

QByteArray ReportPagePainter::drawingPng(const PageDrawing& drawing, double pixelsPerDesignPixel) {
  QImage image(static_cast<int>(std::ceil(drawing.width * pixelsPerDesignPixel)),
               static_cast<int>(std::ceil(drawing.height * pixelsPerDesignPixel)), QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(3780 * pixelsPerDesignPixel));  // 96 dpi at 1
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paintDrawing(painter, drawing, pixelsPerDesignPixel);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QFont ReportPagePainter::qtFont(const PageFont& font) {
  QFont qt;
  QStringList families{QString::fromStdString(font.family)};
  if (font.family == "Arial") families << QStringLiteral("Liberation Sans");
  families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Noto Serif CJK SC");
  qt.setFamilies(families);
  qt.setPixelSize(static_cast<int>(font.points * 96.0 / 72.0 * kSubdivision + 0.5));
  qt.setBold(font.bold);
  qt.setStyleStrategy(QFont::PreferOutline);
  return qt;
}

void ReportPagePainter::paintPage(QPainter& painter, const ReportPage& page, double pixelsPerDesignPixel) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.scale(pixelsPerDesignPixel / kSubdivision, pixelsPerDesignPixel / kSubdivision);

  // One design pixel wide, whatever the device's resolution.
  QPen pen(Qt::black);
  pen.setWidthF(kSubdivision);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  for (const PageLine& line : page.lines()) {
    // A 1 px line occupies the pixel row or column below or right of its coordinate.
    const double half = kSubdivision / 2;
    const bool horizontal = line.y1 == line.y2;
    painter.drawLine(QPointF(line.x1 * kSubdivision + (horizontal ? 0 : half),
                             line.y1 * kSubdivision + (horizontal ? half : 0)),
                     QPointF(line.x2 * kSubdivision + (horizontal ? 0 : half),
                             line.y2 * kSubdivision + (horizontal ? half : 0)));
  }

  paintElements(painter, page.drawing());

  // A recording (the print preview keeps its pages as QPictures) stores each run of one font with
  // its baseline and replays it with the baseline moved by the difference between that font's
  // ascent and the page font's, so CJK runs would drop below the Latin letters beside them. It gets
  // the glyph outlines instead, laid out exactly as drawn on the other devices.
  const bool recordsText = painter.paintEngine()->type() == QPaintEngine::Picture;
  for (const PageText& text : page.texts()) {
    if (text.text.empty()) continue;
    const QFont font = qtFont(text.font);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const QString content = QString::fromStdString(text.text);
    const QRectF box(text.x * kSubdivision, text.y * kSubdivision, metrics.horizontalAdvance(content),
                     metrics.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    // The baseline lies the page font's own ascent below the top, so that glyphs taken from the CJK
    // fallback font (with its larger ascent) stand on the same line as the Latin ones beside them.
    const QPointF baseline(box.left(), box.top() + metrics.ascent());
    if (recordsText) {
      QPainterPath outlines;
      outlines.addText(baseline, font, content);
      painter.setRenderHint(QPainter::Antialiasing, true);  // as text antialiasing does
      painter.fillPath(outlines, Qt::black);
      painter.setRenderHint(QPainter::Antialiasing, false);
    } else {
      painter.drawText(baseline, content);
    }
  }
  painter.restore();
}

}  // namespace pq
