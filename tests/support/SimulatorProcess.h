#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pq::test {

// pqdesk-sim as a child process with the given options, stopped with SIGTERM at the latest when
// this object goes. The constructor returns once the simulator printed its device path.
class SimulatorProcess {
 public:
  explicit SimulatorProcess(std::vector<std::string> args);
  ~SimulatorProcess() { stop(); }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  const std::string& firstLine() const { return firstLine_; }
  // The exit status; -1 when it was stopped already.
  int stop();

 private:
  pid_t pid_ = 0;
  std::string firstLine_;
};

}  // namespace pq::test
