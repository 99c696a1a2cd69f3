// The live link's answers on arbitrary packages, through the whole timer tick: the package the
// link hands over, the check of head, length and checksum, the decoding, and what the live window
// shows of it (value table texts in both modes, distortion boxes, spectrum titles and axes, the
// waveform axis). Input: packages, each a control byte (bits 0-1 the page, bit 2 a silent tick
// before it, bit 7 mend the last byte to the byte sum, as a whole waveform answer needs), a
// two-byte little-endian length and that many bytes (fewer at the end of the input).
#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

#include "live/LiveLink.h"
#include "live/LivePolling.h"
#include "live/LiveSpectrum.h"
#include "live/LiveTable.h"
#include "live/LiveWaveform.h"

namespace {

using namespace pq::live;

class FuzzLink : public LiveLink {
 public:
  void send(std::span<const std::uint8_t>) override {}
  std::size_t receive(std::span<std::uint8_t> buffer) override {
    if (waiting.empty()) return 0;
    const std::vector<std::uint8_t> package = std::move(waiting.front());
    waiting.pop_front();
    const std::size_t n = std::min(package.size(), buffer.size());
    std::copy_n(package.begin(), n, buffer.begin());
    return n;
  }
  void reopen() override {}

  std::deque<std::vector<std::uint8_t>> waiting;
};

void show(const LivePolling& polling, const TickResult& result, LiveTable& table) {
  if (result.measurementAccepted) {
    const LiveMeasurement& m = polling.measurement();
    table.fill(m, LiveDataMode::secondary);
    table.fill(m, LiveDataMode::primary);
    for (int ch = 0; ch < kChannelCount; ++ch) {
      (void)thdBoxText(m, ch);
      (void)liveSpectrumTitle(m, ch);
      (void)liveSpectrumAxisMaximum(m, ch);
    }
  }
  if (result.waveformAccepted) (void)waveformAxis(polling.samples());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LivePolling polling;
  LiveTable table;
  FuzzLink link;
  std::size_t at = 0;
  while (size - at >= 3) {
    const std::uint8_t control = data[at];
    std::size_t length = static_cast<std::size_t>(data[at + 1] | data[at + 2] << 8);
    at += 3;
    length = std::min(length, size - at);
    std::vector<std::uint8_t> package(data + at, data + at + length);
    at += length;
    if ((control & 0x80) != 0 && !package.empty()) {
      package.back() = byteSum(std::span<const std::uint8_t>(package).first(package.size() - 1));
    }
    const auto page = static_cast<LivePage>(std::min(control & 0x03, 2));
    if ((control & 0x04) != 0) show(polling, polling.tick(page, link), table);
    link.waiting.push_back(std::move(package));
    show(polling, polling.tick(page, link), table);
  }
  return 0;
}
