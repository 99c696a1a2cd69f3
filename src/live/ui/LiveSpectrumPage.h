#pragma once

#include <QWidget>
#include <array>

#include "live/LiveMeasurement.h"

namespace pq::history {
class SpectrumChart;
}

namespace pq::live {

// The page "频谱分析": one harmonic bar chart per channel, Ua Ub Uc over Ia Ib Ic.
class LiveSpectrumPage : public QWidget {
 public:
  explicit LiveSpectrumPage(QWidget* parent = nullptr);

  void redraw(const LiveMeasurement& m);
  history::SpectrumChart& chart(int ch) { return *charts_[static_cast<std::size_t>(ch)]; }

 private:
  std::array<history::SpectrumChart*, kChannelCount> charts_{};
};

}  // namespace pq::live
