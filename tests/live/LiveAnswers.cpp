#include "live/LiveAnswers.h"

#include <algorithm>

#include "live/LivePolling.h"
#include "records/InstrumentEncoding.h"

namespace pq::test {

std::vector<std::uint8_t> measurementAnswerWith(const std::map<int, float>& values, std::uint8_t wiring) {
  std::vector<std::uint8_t> answer(live::kMeasurementAnswerSize, 0);
  std::copy(live::kAnswerHead.begin(), live::kAnswerHead.end(), answer.begin());
  answer[4] = live::kMeasurementKind;
  answer[live::kWiringOffset] = wiring;
  for (const auto& [index, value] : values)
    encodeFloat(value, &answer[32 + 4 * static_cast<std::size_t>(index)]);
  return answer;
}

std::vector<std::uint8_t> waveformAnswerWith(const std::map<int, std::int16_t>& samples) {
  std::vector<std::uint8_t> answer(live::kWaveformAnswerSize, 0);
  std::copy(live::kAnswerHead.begin(), live::kAnswerHead.end(), answer.begin());
  answer[4] = live::kWaveformKind;
  for (const auto& [index, sample] : samples) {
    const auto bits = static_cast<std::uint16_t>(sample);
    answer[32 + 2 * static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(bits);
    answer[33 + 2 * static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(bits >> 8);
  }
  answer.back() = live::byteSum(std::span(answer).first(answer.size() - 1));
  return answer;
}

std::size_t ScriptedLink::receive(std::span<std::uint8_t> buffer) {
  if (waiting.empty()) return 0;
  const auto package = std::move(waiting.front());
  waiting.pop_front();
  const std::size_t n = std::min(package.size(), buffer.size());
  std::copy_n(package.begin(), n, buffer.begin());
  return n;
}

}  // namespace pq::test
