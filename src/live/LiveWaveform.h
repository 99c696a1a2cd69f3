#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "live/LiveProtocol.h"

namespace pq::live {

// The six channels of one waveform answer, 160 samples each in the order Ua, Ub, Uc, Ia, Ib, Ic.
using LiveSamples = std::array<float, kSampleCount>;

LiveSamples decodeWaveform(std::span<const std::uint8_t, kWaveformAnswerSize> answer);

// The waveform chart's left axis: from the lowest sample cut toward zero minus 3 to the highest
// cut toward zero plus 3, so that 0 always lies inside.
struct WaveformAxis {
  double minimum = -3.0;
  double maximum = 3.0;
};
WaveformAxis waveformAxis(const LiveSamples& samples);

}  // namespace pq::live
