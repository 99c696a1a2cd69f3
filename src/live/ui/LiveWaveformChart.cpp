#include "live/ui/LiveWaveformChart.h"

namespace pq::live {

namespace {

struct Series {
  const char* title;
  QColor colour;
};

const std::array<Series, kChannelCount> kSeries{{{"Ua波形", QColor(255, 255, 0)},
                                                 {"Ub波形", QColor(0, 128, 0)},
                                                 {"Uc波形", QColor(255, 0, 0)},
                                                 {"Ia波形", QColor(0, 0, 255)},
                                                 {"Ib波形", QColor(64, 0, 128)},
                                                 {"Ic波形", QColor(128, 0, 64)}}};

}  // namespace

LiveWaveformChart::LiveWaveformChart(QWidget* parent) : QCustomPlot(parent) {
  setObjectName("waveformChart");
  setAccessibleName(QStringLiteral("实时波形"));
  setBackground(QColor(192, 192, 192));
  for (const Series& series : kSeries) {
    QCPGraph* graph = addGraph();
    graph->setName(QString::fromUtf8(series.title));
    graph->setPen(QPen(series.colour, 2));
  }
  legend->setVisible(true);
  legend->setBrush(QColor(255, 255, 255, 200));
  xAxis->setRange(1, kSamplesPerChannel);
  yAxis->setRange(-3, 3);
}

void LiveWaveformChart::showSamples(const LiveSamples& samples,
                                    const std::array<bool, kChannelCount>& shown) {
  const WaveformAxis axis = waveformAxis(samples);
  yAxis->setRange(axis.minimum, axis.maximum);
  QVector<double> x(kSamplesPerChannel);
  QVector<double> y(kSamplesPerChannel);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    QCPGraph* series = graph(ch);
    series->data()->clear();
    series->setVisible(shown[static_cast<std::size_t>(ch)]);
    if (!series->visible()) continue;
    for (int i = 0; i < kSamplesPerChannel; ++i) {
      x[i] = i + 1;
      y[i] = samples[static_cast<std::size_t>(ch * kSamplesPerChannel + i)];
    }
    series->setData(x, y, true);
  }
  replot(QCustomPlot::rpQueuedReplot);
}

}  // namespace pq::live
