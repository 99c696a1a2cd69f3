#include "InstrumentAnswers.h"

#include <numeric>

#include "records/InstrumentEncoding.h"

namespace pq::sim {

namespace {

constexpr std::size_t kDataOffset = 32;
constexpr std::size_t kWiringOffset = 12;

std::vector<std::uint8_t> answerHead(std::size_t size, std::uint8_t kind) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 0xEB;
  bytes[1] = 0x90;
  bytes[2] = 0xEB;
  bytes[3] = 0x90;
  bytes[4] = kind;
  return bytes;
}

}  // namespace

std::uint8_t byteSum(const std::vector<std::uint8_t>& bytes, std::size_t end) {
  return static_cast<std::uint8_t>(
      std::accumulate(bytes.begin(), bytes.begin() + static_cast<long>(end), 0u));
}

std::vector<std::uint8_t> measurementAnswer(const InstrumentModel& model) {
  auto bytes = answerHead(kMeasurementAnswerSize, 0x01);
  bytes[kWiringOffset] = static_cast<std::uint8_t>(model.wiring());
  for (int i = 0; i < kLiveValueCount; ++i) {
    encodeFloat(model.values()[i], bytes.data() + kDataOffset + 4 * static_cast<std::size_t>(i));
  }
  bytes.back() = byteSum(bytes, bytes.size() - 1);
  return bytes;
}

std::vector<std::uint8_t> waveformAnswer(const InstrumentModel& model) {
  auto bytes = answerHead(kWaveformAnswerSize, 0x02);
  for (int i = 0; i < kWaveformSampleCount; ++i) {
    const auto raw = static_cast<std::uint16_t>(model.samples()[i]);
    bytes[kDataOffset + 2 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(raw);
    bytes[kDataOffset + 2 * static_cast<std::size_t>(i) + 1] = static_cast<std::uint8_t>(raw >> 8);
  }
  bytes.back() = byteSum(bytes, bytes.size() - 1);
  return bytes;
}

}  // namespace pq::sim
