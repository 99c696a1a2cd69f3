#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "live/LiveLink.h"

namespace pq::test {

// A measurement answer with the given values (all others 0) and wiring mode.
std::vector<std::uint8_t> measurementAnswerWith(const std::map<int, float>& values, std::uint8_t wiring);
// A waveform answer with the given samples in units of 1/328 (all others 0) and a correct checksum.
std::vector<std::uint8_t> waveformAnswerWith(const std::map<int, std::int16_t>& samples);

// The far end of the polling as a test plays it: packages waiting to be read, requests sent.
class ScriptedLink : public live::LiveLink {
 public:
  void send(std::span<const std::uint8_t> request) override {
    sent.emplace_back(request.begin(), request.end());
  }
  std::size_t receive(std::span<std::uint8_t> buffer) override;
  void reopen() override { ++reopened; }

  std::deque<std::vector<std::uint8_t>> waiting;
  std::vector<std::vector<std::uint8_t>> sent;
  int reopened = 0;
};

}  // namespace pq::test
