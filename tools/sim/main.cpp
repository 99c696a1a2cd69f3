// pqdesk-sim: the instrument on a pseudo-terminal, for the live window without hardware.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <random>
#include <thread>

#include "InstrumentAnswers.h"
#include "RequestScanner.h"
#include "SimulatorOptions.h"
#include "base/ApplicationTitle.h"
#include "cli/CommandLine.h"
#include "serial/platform/DeviceNames.h"

namespace {

using namespace pq::sim;
using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// The master end of the pseudo-terminal and the requests that came in on it.
class InstrumentLine {
 public:
  explicit InstrumentLine(int master) : master_(master) {}

  // Takes what has arrived, waiting at most timeoutMs for something.
  void receive(int timeoutMs) {
    pollfd fd{master_, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0) return;
    std::uint8_t buffer[256];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    for (ssize_t i = 0; i < n; ++i) {
      if (const auto request = scanner_.feed(buffer[i])) pending_.push_back(*request);
    }
  }

  // Sends at the pace of the line, taking requests meanwhile; false when stopped.
  bool send(const std::vector<std::uint8_t>& bytes, int baud) {
    const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / baud);
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      if (stopRequested) return false;
      const auto due = static_cast<std::size_t>((Clock::now() - start) / byteTime) + 1;
      const std::size_t count = std::min(due, bytes.size()) - std::min(due, sent);
      if (count > 0) {
        const ssize_t n = ::write(master_, bytes.data() + sent, count);
        if (n > 0) {
          sent += static_cast<std::size_t>(n);
        } else {
          // Nobody reads the port: wait for room instead of spinning.
          pollfd fd{master_, POLLOUT, 0};
          ::poll(&fd, 1, 10);
        }
      }
      receive(0);
      std::this_thread::sleep_until(start + byteTime * static_cast<long>(sent + 1));
    }
    return true;
  }

  std::deque<Request>& pending() { return pending_; }

 private:
  int master_;
  RequestScanner scanner_;
  std::deque<Request> pending_;
};

std::vector<std::uint8_t> answerTo(Request request, InstrumentModel& model, Fault fault) {
  model.step();
  auto bytes = request == Request::measurement ? measurementAnswer(model) : waveformAnswer(model);
  if (fault == Fault::badChecksum && request == Request::waveform)
    bytes.back() = static_cast<std::uint8_t>(bytes.back() + 1);
  if (fault == Fault::shortAnswers) bytes.resize(10);
  return bytes;
}

std::vector<std::string> linksToMake(const SimulatorOptions& options) {
  std::vector<std::string> links;
  if (options.link) links.push_back(*options.link);
  if (options.port)
    links.push_back(pq::OstrelComm32::portLinkFolder() + "/COM" + std::to_string(*options.port));
  return links;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("%s\n%s", kSimulatorUsage,
                "Plays the power-quality analyser on a pseudo-terminal: prints the terminal's path, then\n"
                "answers the measurement and waveform requests at the pace of a 9600-baud line until\n"
                "SIGINT or SIGTERM. --port N links ports/COMN beside the programs to it, the port the\n"
                "live window opens as COMN. See pqdesk-sim(1).\n");
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("pqdesk-sim %s\n", pq::app::kVersion);
    return 0;
  }
  SimulatorOptions options;
  try {
    options = parseSimulatorOptions(args);
  } catch (const pq::cli::UsageError& error) {
    std::fprintf(stderr, "pqdesk-sim: %s\n%s", error.what(), kSimulatorUsage);
    return pq::cli::kExitUsage;
  }

  int master = -1;
  int slave = -1;
  char slaveName[256] = {};
  termios raw{};
  ::cfmakeraw(&raw);
  // The simulator keeps the slave open itself, so that the master never reads a hang-up while no
  // program has the port open.
  if (::openpty(&master, &slave, slaveName, &raw, nullptr) != 0) {
    std::perror("pqdesk-sim: openpty");
    return pq::cli::kExitUnexpected;
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

  const auto links = linksToMake(options);
  for (const auto& link : links) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(link).parent_path(), error);
    if (std::filesystem::is_symlink(link, error)) std::filesystem::remove(link, error);
    std::filesystem::create_symlink(slaveName, link, error);
    if (error) {
      std::fprintf(stderr, "pqdesk-sim: cannot link %s: %s\n", link.c_str(), error.message().c_str());
      return pq::cli::kExitUnexpected;
    }
  }
  std::printf("%s\n", slaveName);
  std::fflush(stdout);

  struct sigaction action {};
  action.sa_handler = requestStop;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);

  InstrumentModel model(options.model);
  InstrumentLine line(master);
  std::mt19937 noise(options.model.seed);
  auto lastActivity = Clock::now();
  while (!stopRequested) {
    line.receive(100);
    if (!line.pending().empty()) {
      const Request request = line.pending().front();
      line.pending().pop_front();
      if (options.fault != Fault::silent && !line.send(answerTo(request, model, options.fault), options.baud))
        break;
      lastActivity = Clock::now();
    } else if (options.fault == Fault::noise &&
               Clock::now() - lastActivity > std::chrono::milliseconds(700)) {
      std::vector<std::uint8_t> bytes(1 + noise() % 8);
      for (auto& byte : bytes) byte = static_cast<std::uint8_t>(noise());
      line.send(bytes, options.baud);
      lastActivity = Clock::now();
    }
  }
  for (const auto& link : links) {
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
  }
  ::close(slave);
  ::close(master);
  return pq::cli::kExitDone;
}
