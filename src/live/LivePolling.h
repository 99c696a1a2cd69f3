#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "live/LiveLink.h"
#include "live/LiveMeasurement.h"
#include "live/LiveProtocol.h"
#include "live/LiveWaveform.h"

namespace pq::live {

// What panel 0 of the live window's status bar says about the link.
enum class LinkStatus { normal, error };

inline constexpr const char* kLinkNormalText = "串口通信正常";
inline constexpr const char* kLinkErrorText = "串口错误，请检查接线或更换其它串口。";

struct TickResult {
  // Set when the tick changes the status text; the text stays otherwise.
  std::optional<LinkStatus> status;
  bool measurementAccepted = false;
  bool waveformAccepted = false;
};

// The polling of the instrument, one call per timer tick: which request goes out, which answer is
// taken and whether it is accepted, and whether the link is silent. It keeps the last accepted
// answers and their decoded values and samples. Plain C++, driven by the caller's timer and link.
//
// Every byte from the link is untrusted: a measurement answer is decoded only when it holds all its
// values, and a waveform answer only when it has its exact length and its checksum matches.
class LivePolling {
 public:
  // Ticks without a package longer than 10 bytes after which the link counts as broken.
  static constexpr int kSilentTicks = 10;
  // While the link stays broken the port is opened afresh every this many ticks, so that a device
  // that went away and came back under the same name is found again.
  static constexpr int kReopenEvery = 5;

  TickResult tick(LivePage page, LiveLink& link);

  int tickCounter() const { return tickCounter_; }
  int silenceCounter() const { return silenceCounter_; }
  const LiveMeasurement& measurement() const { return measurement_; }
  const LiveSamples& samples() const { return samples_; }
  // The waveform page's reset: flat lines at 0 until the next waveform answer.
  void clearSamples() { samples_.fill(0.0f); }

 private:
  void acceptMeasurement(std::size_t length, TickResult& result);
  void acceptWaveform(std::size_t length, TickResult& result);

  int tickCounter_ = 0;
  int silenceCounter_ = 0;
  std::array<std::uint8_t, kReceiveBufferSize> receiveBuffer_{};
  std::array<std::uint8_t, kMeasurementAnswerSize> measurementAnswer_{};
  std::array<std::uint8_t, kWaveformAnswerSize> waveformAnswer_{};
  LiveMeasurement measurement_;
  LiveSamples samples_{};
};

// The polling state of the program: it lives from start to end, so the counters and the last
// answers carry over from one opening of the live window to the next.
LivePolling& programLivePolling();

// The low 8 bits of the sum of the bytes.
std::uint8_t byteSum(std::span<const std::uint8_t> bytes);

}  // namespace pq::live
