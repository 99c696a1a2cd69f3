#include "charts/ui/PhasorDiagramWidget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

namespace pq::history {
namespace {

// The pixel of a logical point: 16 units a pixel, origin at (140, 140), y up.
QPoint pixelOf(double x, double y) { return {qRound(140 + x / 16), qRound(140 - y / 16)}; }

TEST(PhasorDiagramWidgetTest, PaintsTheGridAndThePhasors) {
  PhasorDiagramWidget widget;
  EXPECT_EQ(widget.size(), QSize(273, 273));
  widget.drawPhasorBackground();
  widget.drawPhasors(1, {240, 120, 30, 270, 150});

  const QImage image = widget.grab().toImage();
  EXPECT_EQ(image.pixelColor(5, 5), QColor(128, 128, 128));
  EXPECT_EQ(image.pixelColor(270, 270), QColor(128, 128, 128));
  // Lines are smoothed, so a pixel on one may be partly grey.
  auto whitish = [](QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() > 180; };
  auto greenish = [](QColor c) { return c.green() > c.red() + 30 && c.green() > c.blue() + 30; };
  // The outer circle's top and the x axis between the circles.
  EXPECT_TRUE(whitish(image.pixelColor(pixelOf(0, 1600))));
  EXPECT_TRUE(whitish(image.pixelColor(pixelOf(1400, 0))));
  // Halfway along Ub at 240°.
  const double radians = 240 / 57.3;
  EXPECT_TRUE(greenish(image.pixelColor(pixelOf(600 * std::sin(radians), 600 * std::cos(radians)))));
}

TEST(PhasorDiagramWidgetTest, BackgroundStartsAFreshPicture) {
  PhasorDiagramWidget widget;
  const std::size_t gridOnly = widget.diagram().size();
  widget.drawPhasors(3, {0, 250, 20, 0, 130});
  EXPECT_GT(widget.diagram().size(), gridOnly);
  widget.drawPhasorBackground();
  EXPECT_EQ(widget.diagram().size(), gridOnly);
  widget.drawPhasors(0, {0, 250, 20, 0, 130});
  EXPECT_EQ(widget.diagram().size(), gridOnly);
}

}  // namespace
}  // namespace pq::history
