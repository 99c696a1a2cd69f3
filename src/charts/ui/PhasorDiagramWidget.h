#pragma once

#include <QWidget>

#include "charts/PhasorDiagram.h"

namespace pq::history {

// The 273 x 273 phasor diagram area of the history window's "矢量" group and the live window's
// "矢量分析" group. A window calls drawPhasorBackground() and then drawPhasors() with the wiring mode
// and the angles of the record (or live measurement) to show; an empty store shows the grid only.
class PhasorDiagramWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PhasorDiagramWidget(QWidget* parent = nullptr);

  // Starts a fresh picture: the grid only.
  void drawPhasorBackground();
  // Adds the phasors of a measurement to the picture (nothing for a wiring mode other than 1 or 3).
  void drawPhasors(int wiringMode, const PhasorAngles& angles);

  const PhasorDiagram& diagram() const { return diagram_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PhasorDiagram diagram_;
};

}  // namespace pq::history
