#pragma once

#include <cstdint>

namespace pq::OstrelComm32 {

inline constexpr std::uint8_t DTR_CONTROL_DISABLE = 0;
inline constexpr std::uint8_t DTR_CONTROL_ENABLE = 1;
inline constexpr std::uint8_t DTR_CONTROL_HANDSHAKE = 2;
inline constexpr std::uint8_t RTS_CONTROL_DISABLE = 0;
inline constexpr std::uint8_t RTS_CONTROL_ENABLE = 1;
inline constexpr std::uint8_t RTS_CONTROL_HANDSHAKE = 2;
inline constexpr std::uint8_t RTS_CONTROL_TOGGLE = 3;

// The line settings of a port, field for field as the Windows device control block holds them;
// the driver translates what its system can express (see TermiosSettings.h). Defaults are the port's.
struct TDcb {
  std::uint32_t BaudRate = 115200;
  bool fBinary = true;
  bool fParity = false;
  bool fOutxCtsFlow = false;
  bool fOutxDsrFlow = false;
  std::uint8_t fDtrControl = DTR_CONTROL_ENABLE;
  bool fDsrSensitivity = false;
  bool fTXContinueOnXoff = false;
  bool fOutX = false;
  bool fInX = false;
  bool fErrorChar = false;
  bool fNull = false;
  std::uint8_t fRtsControl = RTS_CONTROL_ENABLE;
  bool fAbortOnError = false;
  std::uint16_t XonLim = 2048;
  std::uint16_t XoffLim = 512;
  std::uint8_t ByteSize = 8;
  std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  char XonChar = 0x11;
  char XoffChar = 0x13;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
};

}  // namespace pq::OstrelComm32
