#include "pages/ui/ReportPagePainter.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace pq {

namespace {

// Texts are laid out in tenths of a design pixel so that font sizes such as 10 pt (13.33 px) keep
// their fraction while Qt takes whole pixel sizes.
constexpr double kSubdivision = 10.0;

}  // namespace

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
