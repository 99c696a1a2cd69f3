#include "serial/platform/TermiosSettings.h"

#include <array>
#include <utility>

namespace pq::OstrelComm32 {

speed_t standardSpeed(unsigned rate) {
  static constexpr std::array<std::pair<unsigned, speed_t>, 22> kSpeeds{{
      {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
      {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
      {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
      {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
      {576000, B576000}, {921600, B921600},
  }};
  for (const auto& [value, speed] : kSpeeds) {
    if (value == rate) return speed;
  }
  return B0;
}

bool toTermios(const TDcb& dcb, termios& settings) {
  static constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
  if (dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 4 || dcb.StopBits > 2) return false;

  termios t = settings;
  cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
  t.c_cflag |= CLOCAL | CREAD | kSizes[dcb.ByteSize - 5];
  switch (dcb.Parity) {
    case 1:
      t.c_cflag |= PARENB | PARODD;
      break;
    case 2:
      t.c_cflag |= PARENB;
      break;
    case 3:
      t.c_cflag |= PARENB | PARODD | CMSPAR;
      break;
    case 4:
      t.c_cflag |= PARENB | CMSPAR;
      break;
    default:
      break;
  }
  if (dcb.StopBits != 0) t.c_cflag |= CSTOPB;
  if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;

  t.c_iflag &= ~(INPCK | IGNPAR | IXON | IXOFF | IXANY);
  if (dcb.fParity) t.c_iflag |= INPCK | IGNPAR;
  if (dcb.fOutX) t.c_iflag |= IXON;
  if (dcb.fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;

  if (const speed_t speed = standardSpeed(dcb.BaudRate); speed != B0) cfsetspeed(&t, speed);
  settings = t;
  return true;
}

}  // namespace pq::OstrelComm32
