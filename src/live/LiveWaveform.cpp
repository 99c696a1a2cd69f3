#include "live/LiveWaveform.h"

#include <cmath>

#include "records/InstrumentEncoding.h"

namespace pq::live {

LiveSamples decodeWaveform(std::span<const std::uint8_t, kWaveformAnswerSize> answer) {
  LiveSamples samples{};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = decodeSample(answer[kValuesOffset + 2 * i], answer[kValuesOffset + 2 * i + 1]);
  }
  return samples;
}

WaveformAxis waveformAxis(const LiveSamples& samples) {
  double hi = 0.0;
  double lo = 0.0;
  for (const float s : samples) {
    if (s > hi) hi = std::trunc(s);
    if (s < lo) lo = std::trunc(s);
  }
  return {lo - 3.0, hi + 3.0};
}

}  // namespace pq::live
