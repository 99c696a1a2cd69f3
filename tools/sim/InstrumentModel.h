#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace pq::sim {

inline constexpr int kLiveValueCount = 455;
inline constexpr int kSamplesPerChannel = 160;
inline constexpr int kWaveformSampleCount = 6 * kSamplesPerChannel;

// Value indexes of the measurement answer.
namespace liveValues {
inline constexpr int ptRatio = 0;
inline constexpr int ctRatio = 1;
inline constexpr int uaRms = 4;  // Ua rms, max, min; Ub at 7, Uc at 10
inline constexpr int iaRms = 13;
inline constexpr int activePowerA = 16;
inline constexpr int angleUaUb = 19;  // UaUb, UaUc, UaIa, UaIb, UaIc, UbIb, UcIc
inline constexpr int frequency = 26;
inline constexpr int zeroSequenceVoltage = 27;  // zero, positive, negative; unbalance at 30
inline constexpr int voltageUnbalance = 30;
inline constexpr int zeroSequenceCurrent = 31;
inline constexpr int currentUnbalance = 34;
inline constexpr int reactivePowerA = 35;
inline constexpr int powerFactorA = 38;  // A, B, C, total
inline constexpr int powerFactorTotal = 41;
// Channel ch (0 Ua .. 5 Ic): k = 0 the fundamental, k >= 1 harmonic order k + 1.
constexpr int harmonic(int ch, int k) { return 65 + 65 * ch + k; }
constexpr int thd(int ch) { return 129 + 65 * ch; }
}  // namespace liveValues

struct ModelSettings {
  int wiring = 1;  // 1 three-phase four-wire, 3 three-phase three-wire
  float ptRatio = 100.0f;
  float ctRatio = 20.0f;
  std::uint32_t seed = 1;
};

// A three-phase supply as the instrument measures it on its secondary side: phases 120 degrees
// apart with a little unbalance, a lagging load, harmonics on every channel, all wandering slowly
// from one reading to the next. In three-wire mode the voltage channels carry line voltages.
class InstrumentModel {
 public:
  explicit InstrumentModel(const ModelSettings& settings);

  // Moves the supply on by one reading.
  void step();
  const std::array<float, kLiveValueCount>& values() const { return values_; }
  // 160 samples per channel over one cycle, in units of 1/328, cut at the 16-bit range.
  const std::array<std::int16_t, kWaveformSampleCount>& samples() const { return samples_; }
  int wiring() const { return settings_.wiring; }

 private:
  void compute();

  ModelSettings settings_;
  std::mt19937 random_;
  double drift_ = 0.0;
  std::array<double, 6> magnitudes_{};
  std::array<float, kLiveValueCount> values_{};
  std::array<std::int16_t, kWaveformSampleCount> samples_{};
};

}  // namespace pq::sim
