#pragma once

#include <cstdint>

namespace pq::OstrelComm32 {

// The enumerated settings of the device component, in the order their names are stored with a form.
enum TBaudRate : std::uint8_t {
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000,
};
enum TParity : std::uint8_t { ptNoParity, ptOddParity, ptEvenParity, ptMarkParity, ptSpaceParity };
enum TStopBits : std::uint8_t { sbOneStopBit, sbOne_5_StopBits, sbTwoStopBit };
enum TFlowControl : std::uint8_t { fcNone, fcRtsCts, fcXonXoff, fcTranXonXoff, fcRtsCtsXonXoff };

// Bits of the component's ModemStatus set.
namespace modemLines {
inline constexpr std::uint8_t cts = 1;
inline constexpr std::uint8_t dsr = 2;
inline constexpr std::uint8_t ring = 4;
inline constexpr std::uint8_t rlsd = 8;
}  // namespace modemLines

// Bits per second of a rate; 115200 for a value outside the enumeration.
std::uint32_t baudRateValue(TBaudRate rate);
// The enumeration of a rate in bits per second; br115200 for a rate not in the list.
TBaudRate baudRateOf(std::uint32_t bitsPerSecond);
// The port's flow-control code of a value (fcNone and anything outside the list give 0).
int flowControlCode(TFlowControl flow);
// The value a port code reads back as.
TFlowControl flowControlOf(int code);

}  // namespace pq::OstrelComm32
