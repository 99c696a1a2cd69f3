#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "live/LiveProtocol.h"

namespace pq::live {

// The values of one measurement answer and the harmonic percentages derived from them. Values come
// through the instrument's float decoding, so none is infinite or not a number; percentages are
// held in double so that a tiny fundamental under a huge harmonic cannot overflow to infinity.
struct LiveMeasurement {
  std::array<float, kValueCount> values{};
  std::uint8_t wiring = 0;
  // percent[ch][k]: harmonic k (0 the fundamental) of channel ch in % of the fundamental; 0 when the
  // fundamental is 0.003 or less.
  std::array<std::array<double, kHarmonicCount>, kChannelCount> percent{};

  float value(int index) const { return values[static_cast<std::size_t>(index)]; }
  float ptRatio() const { return value(values::ptRatio); }
  float ctRatio() const { return value(values::ctRatio); }
  float thd(int ch) const { return value(values::thd(ch)); }
  bool wiringKnown() const { return wiring == kFourWire || wiring == kThreeWire; }
};

// Decodes a whole stored measurement answer.
LiveMeasurement decodeMeasurement(std::span<const std::uint8_t, kMeasurementAnswerSize> answer);

}  // namespace pq::live
