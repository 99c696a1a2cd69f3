#include "charts/ui/SpectrumChart.h"

#include "charts/ui/SpectrumBars.h"

namespace pq::history {

namespace {

const QColor kBackground(212, 208, 200);

// Labels at every order when there is room, otherwise at 1 and every 5th or 10th order (every
// 2nd without 1), decided at each layout from the axis's width.
class OrderTicker : public QCPAxisTicker {
 public:
  explicit OrderTicker(const QCPAxis& axis) : axis_(axis) {}

 protected:
  double getTickStep(const QCPRange& range) override {
    constexpr double kLabelRoom = 22;  // pixels a label of two digits needs with some space
    // Ticks are made before the layout places the axis, so the width comes from the plot's current
    // viewport and the axis rect's margins rather than from the axis rect itself.
    const QCPAxisRect& rect = *axis_.axisRect();
    const int width = axis_.parentPlot()->viewport().width() - rect.margins().left() - rect.margins().right();
    const double pixelsPerOrder = width / range.size();
    for (int step : {1, 2, 5}) {
      if (pixelsPerOrder * step >= kLabelRoom) return step;
    }
    return 10;
  }
  int getSubTickCount(double) override { return 0; }
  QVector<double> createTickVector(double tickStep, const QCPRange&) override {
    const int step = static_cast<int>(tickStep);
    QVector<double> ticks;
    for (int n = 1; n <= kSpectrumOrders; ++n) {
      if (n % step == 0 || (n == 1 && step != 2)) ticks.push_back(n);
    }
    return ticks;
  }

 private:
  const QCPAxis& axis_;
};

}  // namespace

SpectrumChart::SpectrumChart(const QString& designTitle, QWidget* parent)
    : QCustomPlot(parent), designTitle_(designTitle) {
  setBackground(kBackground);
  // Six charts share the live page: each is named by its own design title.
  setAccessibleName(designTitle.simplified());

  plotLayout()->insertRow(0);
  title_ = new QCPTextElement(this, designTitle, font());
  title_->setTextColor(Qt::blue);
  plotLayout()->addElement(0, 0, title_);

  QFont axisTitleFont = font();
  axisTitleFont.setBold(true);
  yAxis->setLabelFont(axisTitleFont);
  yAxis->setLabelColor(Qt::black);
  xAxis->setLabelFont(axisTitleFont);
  xAxis->setLabelColor(Qt::black);
  xAxis->setRange(0.4, kSpectrumOrders + 0.6);
  xAxis->setTicker(QSharedPointer<OrderTicker>::create(*xAxis));
  xAxis->grid()->setVisible(false);
  yAxis->setRange(0, 10);

  bars_ = new SpectrumBars(xAxis, yAxis);
  bars_->setName(QStringLiteral("频谱"));
  legend->setVisible(false);
}

void SpectrumChart::showSpectrum(const QString& channelName, std::span<const double, kSpectrumOrders> percent,
                                 double thd) {
  showPicture(spectrumPicture(channelName.toStdString(), percent, thd));
}

void SpectrumChart::showBars(const QString& title, std::span<const double, kSpectrumOrders> percent,
                             double axisMaximum) {
  SpectrumPicture picture;
  picture.bars = drawableBars(percent);
  picture.axisMaximum = axisMaximum;
  picture.title = title.toStdString();
  showPicture(picture);
}

void SpectrumChart::showPicture(const SpectrumPicture& picture) {
  yAxis->setLabel(QStringLiteral("谐波含量%"));
  xAxis->setLabel(QStringLiteral("谐波次数"));
  QVector<double> keys;
  QVector<double> values;
  for (int n = 1; n <= kSpectrumOrders; ++n) {
    keys.push_back(n);
    values.push_back(picture.bars[n - 1]);
  }
  bars_->setData(keys, values, true);
  yAxis->setRange(0, picture.axisMaximum);
  title_->setText(QString::fromStdString(picture.title));
  replot(rpQueuedReplot);
}

void SpectrumChart::clear() {
  bars_->data()->clear();
  yAxis->setLabel(QString());
  xAxis->setLabel(QString());
  title_->setText(designTitle_);
  replot(rpQueuedReplot);
}

void SpectrumChart::setAxisMaximum(double maximum) {
  yAxis->setRange(0, maximum);
  replot(rpQueuedReplot);
}

void SpectrumChart::setThreeD(bool on) {
  bars_->setThreeD(on);
  replot(rpQueuedReplot);
}

bool SpectrumChart::isThreeD() const { return bars_->isThreeD(); }

QString SpectrumChart::titleText() const { return title_->text(); }

QVector<double> SpectrumChart::barHeights() const {
  QVector<double> heights;
  for (const QCPBarsData& bar : *bars_->data()) heights.push_back(bar.value);
  return heights;
}

}  // namespace pq::history
