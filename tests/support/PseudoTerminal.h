#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace pq::test {

// A pseudo-terminal pair in raw mode, with the slave reachable as port "COMn" through a link
// ports/COMn next to the test executable; n is unique among running test processes. The test plays
// the far end on the master.
class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int portNumber() const { return portNumber_; }
  const std::string& slavePath() const { return slavePath_; }
  int master() const { return master_; }

  // Writes all bytes to the master, waiting while the line is full.
  void send(const std::string& bytes) const;
  // Reads from the master until `count` bytes came or the time is up.
  std::string receive(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

 private:
  int master_ = -1;
  int slave_ = -1;
  int portNumber_ = 0;
  std::string slavePath_;
  std::string linkPath_;
};

// Polls `condition` every millisecond until it holds or the time is up; its last value.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Bytes 0, 1, ... 250, 0, 1, ... : a pattern in which a lost or doubled byte shows.
std::string patternBytes(std::size_t count);

}  // namespace pq::test
