#pragma once

#include "live/LiveLink.h"
#include "serial/CommDevice.h"

namespace pq::live {

// The polling's link over a serial device whose packetiser cuts packages by pauses.
class CommDeviceLink : public LiveLink {
 public:
  explicit CommDeviceLink(OstrelComm32::TCustomCommDevice& device) : device_(device) {}

  void send(std::span<const std::uint8_t> request) override;
  std::size_t receive(std::span<std::uint8_t> buffer) override;
  void reopen() override;

 private:
  OstrelComm32::TCustomCommDevice& device_;
};

}  // namespace pq::live
