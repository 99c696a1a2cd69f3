#pragma once

#include <cstdint>
#include <vector>

#include "InstrumentModel.h"

namespace pq::sim {

inline constexpr std::size_t kMeasurementAnswerSize = 1853;
inline constexpr std::size_t kWaveformAnswerSize = 1953;

// The instrument's two answers, byte for byte: head EB 90 EB 90 and the kind (01 measurement, 02
// waveform), the wiring mode at 12 (measurement), the values or samples from offset 32 little-endian,
// and the low 8 bits of the sum of all earlier bytes in the last byte.
std::vector<std::uint8_t> measurementAnswer(const InstrumentModel& model);
std::vector<std::uint8_t> waveformAnswer(const InstrumentModel& model);

// The low 8 bits of the sum of bytes [0, end).
std::uint8_t byteSum(const std::vector<std::uint8_t>& bytes, std::size_t end);

}  // namespace pq::sim
