#pragma once

#include <qcustomplot.h>

namespace pq::history {

// A bar series that paints every bar in its own colour of a fixed palette, cycling, and optionally
// with a three-dimensional look (a darker side and top behind the front face). SpectrumChart's series.
class SpectrumBars : public QCPBars {
  Q_OBJECT

 public:
  SpectrumBars(QCPAxis* keyAxis, QCPAxis* valueAxis);

  void setThreeD(bool on) { threeD_ = on; }
  bool isThreeD() const { return threeD_; }

  // The fill of the bar with that 0-based position.
  static QColor paletteColour(int position);

 protected:
  void draw(QCPPainter* painter) override;

 private:
  bool threeD_ = false;
};

}  // namespace pq::history
