#include "serial/CommDeviceTypes.h"

#include <array>

namespace pq::OstrelComm32 {

namespace {

constexpr std::array<std::uint32_t, 15> kRates{110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                               19200, 38400, 56000, 57600, 115200, 128000, 256000};

}  // namespace

std::uint32_t baudRateValue(TBaudRate rate) { return rate < kRates.size() ? kRates[rate] : 115200; }

TBaudRate baudRateOf(std::uint32_t bitsPerSecond) {
  for (std::size_t i = 0; i < kRates.size(); ++i) {
    if (kRates[i] == bitsPerSecond) return static_cast<TBaudRate>(i);
  }
  return br115200;
}

int flowControlCode(TFlowControl flow) {
  switch (flow) {
    case fcRtsCts:
      return 3;
    case fcXonXoff:
      return 4;
    case fcTranXonXoff:
      return 5;
    case fcRtsCtsXonXoff:
      return 6;
    default:
      return 0;
  }
}

TFlowControl flowControlOf(int code) {
  switch (code) {
    case 3:
      return fcRtsCts;
    case 4:
    case 5:
      return fcXonXoff;
    case 6:
      return fcRtsCtsXonXoff;
    default:
      return fcNone;
  }
}

}  // namespace pq::OstrelComm32
