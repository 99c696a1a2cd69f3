#include "live/ui/LiveSpectrumPage.h"

#include <QGridLayout>

#include "charts/ui/SpectrumChart.h"
#include "live/LiveSpectrum.h"

namespace pq::live {

LiveSpectrumPage::LiveSpectrumPage(QWidget* parent) : QWidget(parent) {
  auto* layout = new QGridLayout(this);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    auto* chart = new history::SpectrumChart(
        QString::fromUtf8(kSpectrumDesignTitles[static_cast<std::size_t>(ch)]), this);
    chart->setObjectName(QStringLiteral("spectrumChart%1").arg(ch));
    chart->setAxisMaximum(kSpectrumDesignAxisMaximum);
    layout->addWidget(chart, ch / 3, ch % 3);
    charts_[static_cast<std::size_t>(ch)] = chart;
  }
}

void LiveSpectrumPage::redraw(const LiveMeasurement& m) {
  for (int ch = 0; ch < kChannelCount; ++ch) {
    charts_[static_cast<std::size_t>(ch)]->showBars(QString::fromStdString(liveSpectrumTitle(m, ch)),
                                                    m.percent[static_cast<std::size_t>(ch)],
                                                    liveSpectrumAxisMaximum(m, ch));
  }
}

}  // namespace pq::live
