#pragma once

#include <qcustomplot.h>

#include <array>

#include "live/LiveWaveform.h"

namespace pq::live {

// The waveform chart of the live window: six line series "Ua波形" .. "Ic波形" of 160 points each,
// silver background, legend, no title.
class LiveWaveformChart : public QCustomPlot {
 public:
  explicit LiveWaveformChart(QWidget* parent = nullptr);

  // Shows the samples of the ticked channels, hides the others and scales the left axis; the chart
  // repaints at the next turn of the event loop.
  void showSamples(const LiveSamples& samples, const std::array<bool, kChannelCount>& shown);
};

}  // namespace pq::live
