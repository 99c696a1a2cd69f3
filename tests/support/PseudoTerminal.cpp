#include "support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "serial/platform/DeviceNames.h"

namespace pq::test {

namespace {

std::atomic<int> linksMade{0};

}  // namespace

PseudoTerminal::PseudoTerminal() {
  char name[256] = {};
  if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  slavePath_ = name;
  termios raw{};
  ::tcgetattr(master_, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(master_, TCSANOW, &raw);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  // Process id and a counter keep the numbers of parallel test processes apart.
  portNumber_ = 10000 + static_cast<int>(::getpid() % 100000) * 16 + linksMade++ % 16;
  const std::string folder = OstrelComm32::portLinkFolder();
  std::filesystem::create_directories(folder);
  linkPath_ = folder + "/COM" + std::to_string(portNumber_);
  std::filesystem::remove(linkPath_);
  std::filesystem::create_symlink(slavePath_, linkPath_);
}

PseudoTerminal::~PseudoTerminal() {
  std::error_code ignored;
  std::filesystem::remove(linkPath_, ignored);
  ::close(slave_);
  ::close(master_);
}

void PseudoTerminal::send(const std::string& bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    pollfd fd{master_, POLLOUT, 0};
    ::poll(&fd, 1, 100);
  }
}

std::string PseudoTerminal::receive(std::size_t count, std::chrono::milliseconds timeout) const {
  std::string out;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  char buffer[4096];
  while (out.size() < count && std::chrono::steady_clock::now() < deadline) {
    pollfd fd{master_, POLLIN, 0};
    if (::poll(&fd, 1, 10) <= 0) continue;
    const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - out.size()));
    if (n > 0) out.append(buffer, static_cast<std::size_t>(n));
  }
  return out;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string patternBytes(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

}  // namespace pq::test
