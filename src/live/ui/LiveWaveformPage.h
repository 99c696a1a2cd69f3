#pragma once

#include <QWidget>
#include <array>

#include "live/LiveMeasurement.h"
#include "live/LiveWaveform.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pq::history {
class PhasorDiagramWidget;
}

namespace pq::live {

class LiveWaveformChart;

// The page "波形显示": the waveform chart, one check box per channel, the six total-distortion boxes,
// the phasor diagram and the buttons that save and print the chart.
class LiveWaveformPage : public QWidget {
 public:
  explicit LiveWaveformPage(QWidget* parent = nullptr);

  // The waveform redraw: the ticked channels' samples, then a fresh phasor diagram of the
  // measurement's wiring mode and angles.
  void redraw(const LiveSamples& samples, const LiveMeasurement& m);
  // The page's preparation when it is selected: "Ua" ticked again, then the redraw of flat lines.
  void reset(const LiveSamples& zeros, const LiveMeasurement& m);
  void showDistortion(const LiveMeasurement& m);

  LiveWaveformChart& chart() { return *chart_; }
  QCheckBox& channelBox(int ch) { return *channelBoxes_[static_cast<std::size_t>(ch)]; }
  QLineEdit& distortionBox(int ch) { return *distortionBoxes_[static_cast<std::size_t>(ch)]; }
  history::PhasorDiagramWidget& phasors() { return *phasors_; }
  QPushButton& saveButton() { return *save_; }
  QPushButton& printButton() { return *print_; }

 private:
  LiveWaveformChart* chart_;
  std::array<QCheckBox*, kChannelCount> channelBoxes_{};
  std::array<QLineEdit*, kChannelCount> distortionBoxes_{};
  history::PhasorDiagramWidget* phasors_;
  QPushButton* save_;
  QPushButton* print_;
};

}  // namespace pq::live
