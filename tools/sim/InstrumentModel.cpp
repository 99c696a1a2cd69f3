#include "InstrumentModel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace pq::sim {

namespace {

using Phasor = std::complex<double>;
using namespace liveValues;

constexpr double kDegree = std::numbers::pi / 180.0;

// Harmonic content in percent of the fundamental by order, for voltages and for currents; orders not
// listed carry a small floor.
double voltageHarmonicPercent(int order) {
  switch (order) {
    case 3:
      return 1.6;
    case 5:
      return 2.4;
    case 7:
      return 1.2;
    case 11:
      return 0.7;
    case 13:
      return 0.5;
    default:
      return order % 2 == 1 ? 0.12 : 0.05;
  }
}

double currentHarmonicPercent(int order) {
  switch (order) {
    case 3:
      return 7.5;
    case 5:
      return 11.0;
    case 7:
      return 5.5;
    case 11:
      return 3.2;
    case 13:
      return 2.1;
    default:
      return order % 2 == 1 ? 0.4 : 0.1;
  }
}

Phasor polar(double magnitude, double degrees) { return std::polar(magnitude, degrees * kDegree); }

}  // namespace

InstrumentModel::InstrumentModel(const ModelSettings& settings)
    : settings_(settings), random_(settings.seed) {
  compute();
}

void InstrumentModel::step() {
  drift_ += 1.0;
  compute();
}

void InstrumentModel::compute() {
  std::normal_distribution<double> noise(0.0, 1.0);
  const bool threeWire = settings_.wiring == 3;
  // Phase voltages 57.7 V (100 V line), currents about 1.5 A, load angle about 25 degrees.
  const double phaseVoltage = 57.735 * (1.0 + 0.01 * std::sin(drift_ / 40.0) + 0.001 * noise(random_));
  const std::array<double, 3> voltageUnbalance = {1.0, 0.992 + 0.002 * std::sin(drift_ / 17.0), 1.006};
  const std::array<double, 3> currentLoad = {1.0, 0.95, 1.07};
  const double current = 1.5 * (1.0 + 0.05 * std::sin(drift_ / 25.0) + 0.003 * noise(random_));
  const double loadAngle = 25.0 + 3.0 * std::sin(drift_ / 30.0);
  const double frequencyHz = 50.0 + 0.03 * std::sin(drift_ / 12.0) + 0.002 * noise(random_);

  std::array<Phasor, 3> u{}, i{};
  for (int p = 0; p < 3; ++p) {
    u[p] = polar(phaseVoltage * voltageUnbalance[p], -120.0 * p);
    i[p] = polar(current * currentLoad[p], -120.0 * p - loadAngle);
  }
  // The voltage channels: phase voltages, or in three-wire mode the line voltages AB, BC, CA.
  std::array<Phasor, 3> channel = u;
  if (threeWire) {
    for (int p = 0; p < 3; ++p) channel[p] = u[p] - u[(p + 1) % 3];
  }

  values_.fill(0.0f);
  values_[ptRatio] = settings_.ptRatio;
  values_[ctRatio] = settings_.ctRatio;
  const std::array<Phasor, 6> fundamentals = {channel[0], channel[1], channel[2], i[0], i[1], i[2]};
  for (int ch = 0; ch < 6; ++ch) {
    const double fundamental = std::abs(fundamentals[ch]);
    double sumOfSquares = 0.0;
    values_[harmonic(ch, 0)] = static_cast<float>(fundamental);
    for (int k = 1; k < 64; ++k) {
      const int order = k + 1;
      const double percent = (ch < 3 ? voltageHarmonicPercent(order) : currentHarmonicPercent(order)) *
                             (1.0 + 0.15 * std::sin(drift_ / (7.0 + order) + ch));
      const double amplitude = fundamental * percent / 100.0;
      values_[harmonic(ch, k)] = static_cast<float>(amplitude);
      sumOfSquares += amplitude * amplitude;
    }
    magnitudes_[ch] = std::sqrt(fundamental * fundamental + sumOfSquares);
    values_[thd(ch)] = static_cast<float>(std::sqrt(sumOfSquares) / fundamental * 100.0);
  }
  for (int p = 0; p < 3; ++p) {
    const double rms = magnitudes_[p];
    values_[uaRms + 3 * p] = static_cast<float>(rms);
    values_[uaRms + 3 * p + 1] = static_cast<float>(rms * 1.004);
    values_[uaRms + 3 * p + 2] = static_cast<float>(rms * 0.996);
    values_[iaRms + p] = static_cast<float>(magnitudes_[3 + p]);
    const Phasor power = u[p] * std::conj(i[p]);
    values_[activePowerA + p] = static_cast<float>(power.real());
    values_[reactivePowerA + p] = static_cast<float>(power.imag());
    values_[powerFactorA + p] = static_cast<float>(power.real() / std::abs(power));
  }
  const Phasor total = u[0] * std::conj(i[0]) + u[1] * std::conj(i[1]) + u[2] * std::conj(i[2]);
  values_[powerFactorTotal] = static_cast<float>(total.real() / std::abs(total));

  // Angles in degrees, 0 .. 360, by which the second quantity lags the first.
  auto lag = [](Phasor first, Phasor second) {
    const double degrees = (std::arg(first) - std::arg(second)) / kDegree;
    return static_cast<float>(std::fmod(degrees + 720.0, 360.0));
  };
  const std::array<std::pair<Phasor, Phasor>, 7> angles = {{{channel[0], channel[1]},
                                                            {channel[0], channel[2]},
                                                            {channel[0], i[0]},
                                                            {channel[0], i[1]},
                                                            {channel[0], i[2]},
                                                            {channel[1], i[1]},
                                                            {channel[2], i[2]}}};
  for (std::size_t n = 0; n < angles.size(); ++n) {
    values_[angleUaUb + static_cast<int>(n)] = lag(angles[n].first, angles[n].second);
  }
  values_[frequency] = static_cast<float>(frequencyHz);

  const Phasor a = polar(1.0, 120.0);
  auto sequences = [&a](const std::array<Phasor, 3>& x) {
    return std::array<double, 3>{std::abs((x[0] + x[1] + x[2]) / 3.0),
                                 std::abs((x[0] + a * x[1] + a * a * x[2]) / 3.0),
                                 std::abs((x[0] + a * a * x[1] + a * x[2]) / 3.0)};
  };
  const auto voltageSequences = sequences(u);
  const auto currentSequences = sequences(i);
  for (int s = 0; s < 3; ++s) {
    values_[zeroSequenceVoltage + s] = static_cast<float>(voltageSequences[s]);
    values_[zeroSequenceCurrent + s] = static_cast<float>(currentSequences[s]);
  }
  values_[liveValues::voltageUnbalance] =
      static_cast<float>(voltageSequences[2] / voltageSequences[1] * 100.0);
  values_[currentUnbalance] = static_cast<float>(currentSequences[2] / currentSequences[1] * 100.0);

  // One cycle per channel, built from the same harmonic amplitudes, harmonics in phase with the
  // fundamental's zero crossing.
  for (int ch = 0; ch < 6; ++ch) {
    const double phase = std::arg(fundamentals[ch]);
    for (int n = 0; n < kSamplesPerChannel; ++n) {
      const double theta = 2.0 * std::numbers::pi * n / kSamplesPerChannel;
      double value = 0.0;
      for (int k = 0; k < 64; ++k) {
        const int order = k + 1;
        value += std::sqrt(2.0) * values_[harmonic(ch, k)] * std::sin(order * (theta + phase));
      }
      const double units = std::round(value * 328.0);
      samples_[ch * kSamplesPerChannel + n] = static_cast<std::int16_t>(std::clamp(units, -32768.0, 32767.0));
    }
  }
}

}  // namespace pq::sim
