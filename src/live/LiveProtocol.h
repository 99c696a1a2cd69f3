#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pq::live {

// The instrument's link: four-byte requests and two answers, all numbers little-endian.
inline constexpr std::size_t kMeasurementAnswerSize = 1853;
inline constexpr std::size_t kWaveformAnswerSize = 1953;
inline constexpr std::size_t kReceiveBufferSize = 4000;
// A package of this many bytes or fewer is line noise, not an answer.
inline constexpr std::size_t kNoiseLength = 10;

inline constexpr std::size_t kValuesOffset = 32;
inline constexpr std::size_t kWiringOffset = 12;
inline constexpr int kValueCount = 455;
inline constexpr int kChannelCount = 6;
inline constexpr int kSamplesPerChannel = 160;
inline constexpr int kSampleCount = kChannelCount * kSamplesPerChannel;
// Harmonic columns per channel: the fundamental and orders 2 to 64.
inline constexpr int kHarmonicCount = 64;

inline constexpr std::array<std::uint8_t, 4> kMeasurementRequest{0xEB, 0x90, 0x01, 0x01};
inline constexpr std::array<std::uint8_t, 4> kWaveformRequest{0xEB, 0x90, 0x01, 0x02};
inline constexpr std::array<std::uint8_t, 4> kAnswerHead{0xEB, 0x90, 0xEB, 0x90};
inline constexpr std::uint8_t kMeasurementKind = 0x01;
inline constexpr std::uint8_t kWaveformKind = 0x02;

// Wiring modes of the answer's byte 12.
inline constexpr std::uint8_t kFourWire = 1;
inline constexpr std::uint8_t kThreeWire = 3;

// The pages of the live window, in the order the main window's commands name them.
enum class LivePage { values = 0, waveform = 1, spectrum = 2 };

// Value indexes of the measurement answer.
namespace values {
inline constexpr int ptRatio = 0;
inline constexpr int ctRatio = 1;
inline constexpr int uaRms = 4;  // rms, maximum, minimum of Ua; Ub from 7, Uc from 10
inline constexpr int iaRms = 13;
inline constexpr int activePowerA = 16;
inline constexpr int angleUaUb = 19;  // UaUb, UaUc, UaIa, UaIb, UaIc, UbIb, UcIc
inline constexpr int frequency = 26;
inline constexpr int zeroSequenceVoltage = 27;
inline constexpr int voltageUnbalance = 30;
inline constexpr int zeroSequenceCurrent = 31;
inline constexpr int currentUnbalance = 34;
inline constexpr int reactivePowerA = 35;
inline constexpr int powerFactorA = 38;  // A, B, C and the total
// Channel ch (0 Ua .. 5 Ic): k = 0 the fundamental, k >= 1 harmonic order k + 1.
constexpr int harmonic(int ch, int k) { return 65 + 65 * ch + k; }
constexpr int thd(int ch) { return 129 + 65 * ch; }
}  // namespace values

}  // namespace pq::live
