#pragma once

#include <cstdint>
#include <optional>

namespace pq::sim {

enum class Request { measurement, waveform };

// Finds the requests EB 90 01 01 and EB 90 01 02 in the bytes the instrument receives, one byte at
// a time; every other byte is ignored.
class RequestScanner {
 public:
  std::optional<Request> feed(std::uint8_t byte);

 private:
  std::uint32_t lastFour_ = 0;
};

}  // namespace pq::sim
