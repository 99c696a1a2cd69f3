#include "report/PrivateCups.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

extern char** environ;

namespace pq::test {

namespace fs = std::filesystem;

namespace {

int run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

std::string confName(const std::string& queue) {
  return "pqdesk-" + std::to_string(::getpid()) + "-" + queue;
}

std::string confPath(const std::string& queue) { return "/etc/cups/cups-pdf-" + confName(queue) + ".conf"; }

}  // namespace

PrivateCups* PrivateCups::instance(std::string& whyNot) {
  static std::unique_ptr<PrivateCups> cups;
  static std::string failure;
  if (!cups && failure.empty()) {
    auto started = std::unique_ptr<PrivateCups>(new PrivateCups);
    if (started->start(failure)) cups = std::move(started);
  }
  whyNot = failure;
  return cups.get();
}

bool PrivateCups::start(std::string& whyNot) {
  for (const char* tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf"}) {
    if (::access(tool, X_OK) != 0) {
      whyNot = std::string(tool) + " is not installed";
      return false;
    }
  }
  if (::geteuid() != 0 || ::access("/etc/cups", W_OK) != 0) {
    whyNot = "cups-pdf takes its output folder from /etc/cups, which this user cannot write";
    return false;
  }
  char folder[] = "/tmp/pq-cups-XXXXXX";
  if (::mkdtemp(folder) == nullptr) {
    whyNot = "no temporary folder";
    return false;
  }
  folder_ = folder;
  for (const char* sub : {"spool", "tmp", "cache", "state", "log", "office", "smart", "pdfspool"}) {
    fs::create_directories(folder_ + "/" + sub);
  }
  std::ofstream(folder_ + "/cupsd.conf") << "Listen " << folder_ << "/cups.sock\n"
                                         << "LogLevel warn\nWebInterface No\nBrowsing No\n"
                                         << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                         << "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                         << "  </Limit>\n</Policy>\n";
  // The scheduler refuses to run its jobs as root; lp owns the folders it writes.
  std::ofstream(folder_ + "/cups-files.conf")
      << "ServerRoot " << folder_ << "\nRequestRoot " << folder_ << "/spool\nTempDir " << folder_
      << "/tmp\nCacheDir " << folder_ << "/cache\nStateDir " << folder_ << "/state\nErrorLog " << folder_
      << "/log/error_log\nAccessLog " << folder_ << "/log/access_log\nPageLog " << folder_
      << "/log/page_log\nUser lp\nGroup lp\nSystemGroup root\n";
  run("chgrp -R lp '" + folder_ + "' && chmod -R g+rwX '" + folder_ + "'");

  const std::string conf = folder_ + "/cupsd.conf";
  const std::string files = folder_ + "/cups-files.conf";
  const char* argv[] = {"cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const int spawned =
      posix_spawn(&scheduler_, "/usr/sbin/cupsd", &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    whyNot = "cupsd could not be started";
    scheduler_ = -1;
    return false;
  }
  ::setenv("CUPS_SERVER", (folder_ + "/cups.sock").c_str(), 1);
  for (int attempt = 0; attempt < 50 && !fs::exists(folder_ + "/cups.sock"); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (run("lpstat -r") != 0 || !addQueue("Office", "Office", officeOutput()) ||
      run("lpadmin -d Office") != 0) {
    whyNot = "the private scheduler did not start (see " + folder_ + "/log/error_log)";
    return false;
  }
  return true;
}

bool PrivateCups::addQueue(const std::string& queue, const std::string& description,
                           const std::string& output) {
  std::ofstream(confPath(queue)) << "Out " << output << "\nAnonDirName " << output << "\nSpool " << folder_
                                 << "/pdfspool\nGrp lp\n";
  return run("lpadmin -p " + queue + " -D '" + description + "' -E -v cups-pdf:/" + confName(queue) +
             " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd") == 0;
}

bool PrivateCups::addSmartPrint() { return addQueue("Smart_Print", "Smart Print", smartPrintOutput()); }

void PrivateCups::removeSmartPrint() {
  run("lpadmin -x Smart_Print");
  ::unlink(confPath("Smart_Print").c_str());
}

PrivateCups::~PrivateCups() {
  removeSmartPrint();
  ::unlink(confPath("Office").c_str());
  if (scheduler_ > 0) {
    ::kill(scheduler_, SIGTERM);
    ::waitpid(scheduler_, nullptr, 0);
  }
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

std::string PrivateCups::waitForPdf(const std::string& output, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(output, ignored)) {
      if (entry.path().extension() != ".pdf") continue;
      // Finished once its size stays put for a moment.
      const auto size = fs::file_size(entry.path(), ignored);
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (size > 0 && size == fs::file_size(entry.path(), ignored)) return entry.path().string();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

void PrivateCups::clear(const std::string& output) {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(output, ignored)) fs::remove(entry.path(), ignored);
}

}  // namespace pq::test
