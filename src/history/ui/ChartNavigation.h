#pragma once

#include <qcustomplot.h>
#include <QObject>
#include <functional>

namespace pq::history {

// Mouse help on a chart: the wheel zooms and a drag moves the bottom axis, a double click goes back to
// the range the chart was drawn with, and a readout in the chart's upper left corner names the point
// nearest to the mouse. The readout lives on a layer of its own, so following the mouse repaints only
// that layer, never the curves.
class ChartNavigation : public QObject {
  Q_OBJECT

 public:
  // The readout's text for the mouse at `key` and `value` in axis units; empty for none.
  using Readout = std::function<QString(double key, double value)>;

  ChartNavigation(QCustomPlot& chart, Readout readout);

  // The ranges a double click returns to: the chart's ranges as they are now. Call after drawing.
  void rememberHome();
  // Removes the readout, e.g. when the chart is drawn anew.
  void clearReadout();
  QString readoutText() const;

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void follow(const QPointF& position);
  void goHome();

  QCustomPlot& chart_;
  Readout readout_;
  QCPLayer* layer_;
  QCPItemText* text_;
  QCPRange homeKeys_;
  QCPRange homeValues_;
};

}  // namespace pq::history
