#pragma once

#include <qcustomplot.h>

#include <span>

#include "charts/SpectrumPicture.h"

namespace pq::history {

class SpectrumBars;

// The harmonic bar chart: 64 bars (orders 1..64), each in its own palette colour, on the RGB 212, 208,
// 200 background, with a fixed left axis. The history window embeds one in its "频谱" group and calls
// showSpectrum for the current record's channel, clear() for an empty store and setThreeD for "三维";
// the live window's spectrum page holds six, each with its own design title, fed through showBars with
// its own title and axis rule. It is a QCustomPlot, so saveChartPicture and printChartPicture take it.
class SpectrumChart : public QCustomPlot {
  Q_OBJECT

 public:
  // `designTitle` is shown until the first drawing and again after clear().
  explicit SpectrumChart(const QString& designTitle = QStringLiteral("各次谐波含量(HRUh)示意图"),
                         QWidget* parent = nullptr);

  // The history window's picture of one channel (title, axis 0..5/10/50/100, axis titles).
  void showSpectrum(const QString& channelName, std::span<const double, kSpectrumOrders> percent, double thd);
  // Bars with a title and left axis maximum chosen by the caller; sets the axis titles too.
  void showBars(const QString& title, std::span<const double, kSpectrumOrders> percent, double axisMaximum);
  // No bars, blank axis titles, the design title.
  void clear();
  // The left axis from 0 to `maximum` (the live charts start at 20 before their first drawing).
  void setAxisMaximum(double maximum);

  // Draws every bar with a darker side and top, as if seen from the upper right; changes nothing else.
  void setThreeD(bool on);
  bool isThreeD() const;

  QString titleText() const;
  // Bar heights as drawn, orders 1..64 at [n - 1] (empty after clear()).
  QVector<double> barHeights() const;

 private:
  void showPicture(const SpectrumPicture& picture);

  QCPTextElement* title_;
  SpectrumBars* bars_;
  QString designTitle_;
};

}  // namespace pq::history
