#pragma once

#include <cstdint>
#include <span>

namespace pq::live {

// What the polling needs of the serial link. Neither call blocks.
class LiveLink {
 public:
  virtual ~LiveLink() = default;
  // Queues one request package.
  virtual void send(std::span<const std::uint8_t> request) = 0;
  // The oldest waiting package, cut to the buffer's size; 0 when none waits.
  virtual std::size_t receive(std::span<std::uint8_t> buffer) = 0;
  // Closes and opens the port again, for a device that went away and may have come back under the
  // same name; a failure is left for the next attempt.
  virtual void reopen() = 0;
};

}  // namespace pq::live
