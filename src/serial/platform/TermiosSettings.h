#pragma once

#include <termios.h>

#include "serial/platform/DeviceControlBlock.h"

namespace pq::OstrelComm32 {

// Translation of the line settings into termios. Raw mode always (fBinary), receiver on, modem
// control lines ignored for open/read (CLOCAL), no hang-up on close (HUPCL off: the original
// settings are put back on close anyway).
//
// Expressed exactly: ByteSize 5..8; Parity 0..4 (mark and space through CMSPAR); StopBits 0 and 2;
// fOutX (IXON), fInX (IXOFF), XonChar, XoffChar; fParity (INPCK with IGNPAR: bytes with a parity
// error are dropped); every baud rate (the standard ones through termios, the others through
// termios2).
// Expressed approximately:
//   - StopBits 1 (one and a half) becomes two stop bits;
//   - fOutxCtsFlow and fRtsControl RTS_CONTROL_HANDSHAKE both map to CRTSCTS, which Linux applies in
//     both directions at once;
//   - fDtrControl DTR_CONTROL_HANDSHAKE raises DTR like DTR_CONTROL_ENABLE; RTS_CONTROL_TOGGLE
//     raises RTS like RTS_CONTROL_ENABLE (both applied with TIOCMBIS/TIOCMBIC after tcsetattr).
// Not expressible, ignored: fOutxDsrFlow, fDsrSensitivity, fTXContinueOnXoff, fNull, fAbortOnError,
// XonLim, XoffLim (the kernel's thresholds apply), fErrorChar with ErrorChar, EofChar. EvtChar (EV_RXFLAG) is
// not reported.
//
// False when ByteSize, Parity or StopBits hold a value outside their codes; `settings` is then
// untouched.
bool toTermios(const TDcb& dcb, termios& settings);

// The termios speed constant of a standard rate, or B0 when the rate needs termios2.
speed_t standardSpeed(unsigned rate);

}  // namespace pq::OstrelComm32
