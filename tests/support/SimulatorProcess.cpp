#include "support/SimulatorProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace pq::test {

SimulatorProcess::SimulatorProcess(std::vector<std::string> args) {
  args.insert(args.begin(), PQDESK_SIM);
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  const int spawned = posix_spawn(&pid_, PQDESK_SIM, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    pid_ = 0;
    throw std::runtime_error("cannot start " PQDESK_SIM);
  }
  char c = 0;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') firstLine_ += c;
  ::close(pipeFds[0]);
}

int SimulatorProcess::stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = 0;
  return status;
}

}  // namespace pq::test
