#include "charts/SpectrumPicture.h"

#include <algorithm>
#include <cmath>

#include "base/PictureFormat.h"
#include "records/RecordStore.h"

namespace pq::history {

SpectrumPercent drawableBars(std::span<const double, kSpectrumOrders> percent) {
  SpectrumPercent bars{};
  for (int i = 0; i < kSpectrumOrders; ++i) bars[i] = std::isfinite(percent[i]) ? percent[i] : 0;
  return bars;
}

double spectrumAxisBand(double largest) {
  if (largest > 50) return 100;
  if (largest > 10) return 50;
  if (largest > 5) return 10;
  return 5;
}

SpectrumPicture spectrumPicture(std::string_view channelName,
                                std::span<const double, kSpectrumOrders> percent, double thd) {
  SpectrumPicture picture;
  picture.bars = drawableBars(percent);
  // The fundamental is 100 % whenever it is measured; the axis follows the harmonics only.
  double largest = 0;
  for (int n = 2; n <= kSpectrumOrders; ++n) largest = std::max(largest, picture.bars[n - 1]);
  picture.axisMaximum = spectrumAxisBand(largest);
  picture.title = std::string(channelName) + "各次谐波频谱图   THD_" + std::string(channelName) + "=" +
                  formatPicture(thd, "  0.00%");
  return picture;
}

SpectrumPercent spectrumPercent(const RecordStore& store, int index, int channel) {
  SpectrumPercent percent{};
  for (int n = 1; n <= kSpectrumOrders; ++n) percent[n - 1] = store.harmonicPercent(index, channel, n);
  return percent;
}

}  // namespace pq::history
