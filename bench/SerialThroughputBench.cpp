// 10 MB through a pseudo-terminal pair: with a TComm32 on each end (queues, read, write and timer
// threads), and with a plain read/write loop on the same kind of pair for comparison.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <thread>

#include "serial/Comm32.h"
#include "serial/platform/PosixSerialDriver.h"

namespace {

using pq::OstrelComm32::EV_RXCHAR;
using pq::OstrelComm32::EV_TXEMPTY;
using pq::OstrelComm32::PosixSerialDriver;
using pq::OstrelComm32::TComm32;
using pq::OstrelComm32::WakeEvent;

constexpr std::size_t kTransferBytes = 10 * 1000 * 1000;
constexpr std::size_t kBlock = 4096;
// A bound on every wait, so that a lost event costs time, not the run.
constexpr int kPatienceMs = 50;

struct PtyPair {
  PtyPair() {
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master, &slave, nullptr, &raw, nullptr) != 0) throw std::runtime_error("openpty");
  }
  int master = -1;
  int slave = -1;
};

std::string pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Each side waits for the port's events as a program would, instead of spinning on the queues. The
// argument is the size of the sender's transmit and the receiver's receive queue (8192 by default).
void BM_Comm32PtyTransfer(benchmark::State& state) {
  const std::string source = pattern(kTransferBytes);
  std::string received(kTransferBytes, '\0');
  const auto roomToWrite = WakeEvent::create();
  const auto bytesToRead = WakeEvent::create();
  for (auto _ : state) {
    const PtyPair pair;
    TComm32 sender(std::make_unique<PosixSerialDriver>(pair.master));
    TComm32 receiver(std::make_unique<PosixSerialDriver>(pair.slave));
    sender.OnCommNotify = [&](TComm32*, int mask) {
      if ((mask & EV_TXEMPTY) != 0) roomToWrite->set();
    };
    receiver.OnCommNotify = [&](TComm32*, int mask) {
      if ((mask & EV_RXCHAR) != 0) bytesToRead->set();
    };
    sender.SetOutQueueSize(state.range(0));
    receiver.SetInQueueSize(state.range(0));
    sender.Open();
    receiver.Open();
    std::thread writer([&] {
      for (std::size_t done = 0; done < source.size();) {
        roomToWrite->reset();
        const long n = sender.Write(source.data() + done, static_cast<long>(source.size() - done));
        done += static_cast<std::size_t>(n);
        if (n == 0) roomToWrite->wait(kPatienceMs);
      }
    });
    for (std::size_t done = 0; done < received.size();) {
      bytesToRead->reset();
      const long n = receiver.Read(received.data() + done, static_cast<long>(received.size() - done));
      done += static_cast<std::size_t>(n);
      if (n == 0) bytesToRead->wait(kPatienceMs);
    }
    writer.join();
    if (received != source) state.SkipWithError("bytes lost or changed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTransferBytes));
}
BENCHMARK(BM_Comm32PtyTransfer)
    ->Arg(8192)
    ->Arg(65536)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_PlainPtyTransfer(benchmark::State& state) {
  const std::string source = pattern(kTransferBytes);
  std::string received(kTransferBytes, '\0');
  for (auto _ : state) {
    const PtyPair pair;
    std::thread writer([&] {
      for (std::size_t done = 0; done < source.size();) {
        const ssize_t n = ::write(pair.master, source.data() + done, std::min(kBlock, source.size() - done));
        if (n > 0) done += static_cast<std::size_t>(n);
      }
    });
    for (std::size_t done = 0; done < received.size();) {
      const ssize_t n = ::read(pair.slave, received.data() + done, std::min(kBlock, received.size() - done));
      if (n > 0) done += static_cast<std::size_t>(n);
    }
    writer.join();
    ::close(pair.master);
    ::close(pair.slave);
    if (received != source) state.SkipWithError("bytes lost or changed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTransferBytes));
}
BENCHMARK(BM_PlainPtyTransfer)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
