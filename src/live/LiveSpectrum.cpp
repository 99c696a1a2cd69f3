#include "live/LiveSpectrum.h"

#include "base/PictureFormat.h"
#include "charts/SpectrumPicture.h"
#include "records/MeasurementRecord.h"

namespace pq::live {

std::string liveSpectrumTitle(const LiveMeasurement& m, int ch) {
  const std::string name = pq::kChannelNames[ch];
  return name + "  频谱分析       THD_" + name + "=" + formatPicture(m.thd(ch), "00.00% ");
}

double liveSpectrumAxisMaximum(const LiveMeasurement& m, int ch) {
  double largest = 0.0;
  for (const double percent : m.percent[static_cast<std::size_t>(ch)]) {
    if (percent > largest) largest = percent;
    if (largest > 99.0) largest = 0.0;
  }
  return history::spectrumAxisBand(largest);
}

}  // namespace pq::live
