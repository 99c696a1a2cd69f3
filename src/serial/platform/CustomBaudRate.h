#pragma once

namespace pq::OstrelComm32 {

// Sets a rate that has no termios constant (14400, 56000, 128000, ...) through termios2 and BOTHER.
// Kept in a file of its own because the kernel's termios2 header clashes with <termios.h>.
bool setCustomBaudRate(int fd, unsigned rate);

}  // namespace pq::OstrelComm32
