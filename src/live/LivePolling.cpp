#include "live/LivePolling.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace pq::live {

namespace {

bool hasHead(std::span<const std::uint8_t> package, std::uint8_t kind) {
  return std::equal(kAnswerHead.begin(), kAnswerHead.end(), package.begin()) && package[4] == kind;
}

}  // namespace

std::uint8_t byteSum(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

LivePolling& programLivePolling() {
  static LivePolling polling;
  return polling;
}

TickResult LivePolling::tick(LivePage page, LiveLink& link) {
  TickResult result;
  tickCounter_ = (tickCounter_ + 1) % 8;
  if (tickCounter_ == 0) {
    link.send(kMeasurementRequest);
  } else if (tickCounter_ == 4) {
    link.send(page == LivePage::waveform ? kWaveformRequest : kMeasurementRequest);
  }

  const std::size_t length = std::min(link.receive(receiveBuffer_), receiveBuffer_.size());
  if (length > kNoiseLength) {
    result.status = LinkStatus::normal;
    silenceCounter_ = 0;
    const std::span<const std::uint8_t> package(receiveBuffer_.data(), length);
    if (hasHead(package, kMeasurementKind)) {
      acceptMeasurement(length, result);
    } else if (hasHead(package, kWaveformKind)) {
      acceptWaveform(length, result);
    }
    std::fill_n(receiveBuffer_.begin(), length, std::uint8_t{0});
  }

  if (silenceCounter_ < INT_MAX) ++silenceCounter_;
  if (silenceCounter_ > kSilentTicks) {
    result.status = LinkStatus::error;
    if ((silenceCounter_ - kSilentTicks - 1) % kReopenEvery == 0) link.reopen();
  }
  return result;
}

void LivePolling::acceptMeasurement(std::size_t length, TickResult& result) {
  // The last byte of a package is not part of the answer. A package that ends before the last value
  // would leave earlier answers' bytes in the values: it counts as communication, nothing more.
  const std::size_t answerLength = length - 1;
  if (answerLength < kMeasurementAnswerSize - 1) return;
  std::copy_n(receiveBuffer_.begin(), std::min(answerLength, kMeasurementAnswerSize),
              measurementAnswer_.begin());
  measurement_ = decodeMeasurement(measurementAnswer_);
  result.measurementAccepted = true;
}

void LivePolling::acceptWaveform(std::size_t length, TickResult& result) {
  // Only a whole answer has its checksum where the check looks for it.
  if (length != kWaveformAnswerSize) return;
  const std::span<const std::uint8_t> answer(receiveBuffer_.data(), kWaveformAnswerSize);
  if (byteSum(answer.first(kWaveformAnswerSize - 1)) != answer.back()) return;
  std::copy(answer.begin(), answer.end(), waveformAnswer_.begin());
  samples_ = decodeWaveform(waveformAnswer_);
  result.waveformAccepted = true;
}

}  // namespace pq::live
