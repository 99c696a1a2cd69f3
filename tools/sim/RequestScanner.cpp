#include "RequestScanner.h"

namespace pq::sim {

std::optional<Request> RequestScanner::feed(std::uint8_t byte) {
  lastFour_ = lastFour_ << 8 | byte;
  switch (lastFour_) {
    case 0xEB900101:
      lastFour_ = 0;
      return Request::measurement;
    case 0xEB900102:
      lastFour_ = 0;
      return Request::waveform;
    default:
      return std::nullopt;
  }
}

}  // namespace pq::sim
