#include "live/LiveMeasurement.h"

#include "records/InstrumentEncoding.h"

namespace pq::live {

namespace {
// A fundamental at or below this is no signal; its channel shows no percentages.
constexpr double kFundamentalThreshold = 0.003;
}  // namespace

LiveMeasurement decodeMeasurement(std::span<const std::uint8_t, kMeasurementAnswerSize> answer) {
  LiveMeasurement m;
  m.wiring = answer[kWiringOffset];
  for (std::size_t i = 0; i < m.values.size(); ++i) m.values[i] = decodeFloat(&answer[kValuesOffset + 4 * i]);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const double fundamental = m.value(values::harmonic(ch, 0));
    auto& percent = m.percent[static_cast<std::size_t>(ch)];
    for (int k = 0; k < kHarmonicCount; ++k) {
      percent[static_cast<std::size_t>(k)] =
          fundamental > kFundamentalThreshold ? m.value(values::harmonic(ch, k)) / fundamental * 100.0 : 0.0;
    }
  }
  return m;
}

}  // namespace pq::live
