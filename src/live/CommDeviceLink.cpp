#include "live/CommDeviceLink.h"

#include "serial/Comm32Error.h"

namespace pq::live {

void CommDeviceLink::send(std::span<const std::uint8_t> request) {
  device_.WritePackage(request.data(), static_cast<unsigned long>(request.size()));
}

std::size_t CommDeviceLink::receive(std::span<std::uint8_t> buffer) {
  return device_.ReadPackage(buffer.data(), static_cast<unsigned long>(buffer.size()));
}

void CommDeviceLink::reopen() {
  // A pseudo-terminal or USB adapter that went away leaves the open port reading nothing for ever;
  // only a fresh open finds the device again once it is back.
  try {
    device_.SetActive(false);
    device_.SetActive(true);
  } catch (const OstrelComm32::EComm32Error&) {
    // Still gone; the silence goes on and the next attempt follows.
  }
}

}  // namespace pq::live
