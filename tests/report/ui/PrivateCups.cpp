#include "report/ui/PrivateCups.h"

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

// The backend: run without arguments it names its device; otherwise it copies the job (a file
// argument or standard input) into the folder of its device URI, pdfcopy:FOLDER.
constexpr char kBackend[] = R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'file pdfcopy "Unknown" "PDF copy"'; exit 0; fi
folder=${DEVICE_URI#pdfcopy:}
target="$folder/job-$1.pdf"
if [ -n "$6" ]; then cat "$6" > "$target.part"; else cat > "$target.part"; fi
mv "$target.part" "$target"
)";

}  // namespace

namespace {

// The folder of this process's scheduler, chosen when the process starts: every use of the printing
// system in the process goes to its socket, also before the scheduler runs (it then finds no
// printers), because the CUPS library keeps the first server it was told about.
struct ProcessFolder {
  ProcessFolder() {
    char name[] = "/tmp/pq-cups-XXXXXX";
    if (::mkdtemp(name) != nullptr) path = name;
    ::setenv("CUPS_SERVER", (path + "/cups.sock").c_str(), 1);
  }
  ~ProcessFolder() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
  std::string path;
};

const ProcessFolder processFolder;

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
  for (const char* tool : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/filter/pdftopdf"}) {
    if (::access(tool, X_OK) != 0) {
      whyNot = std::string(tool) + " is not installed";
      return false;
    }
  }
  if (::geteuid() != 0) {
    whyNot = "the scheduler runs its jobs as the user lp, which only root can arrange";
    return false;
  }
  if (processFolder.path.empty()) {
    whyNot = "no temporary folder";
    return false;
  }
  folder_ = processFolder.path;
  for (const char* sub : {"spool", "tmp", "cache", "state", "log", "office", "smart"}) {
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
      << "/log/page_log\nServerBin " << folder_ << "/bin\nUser lp\nGroup lp\nSystemGroup root\n";
  run("chgrp -R lp '" + folder_ + "' && chmod -R g+rwX '" + folder_ + "' && chmod 0755 '" + folder_ + "'");
  // Programs the scheduler runs must not be writable by anyone but root, nor their folders.
  fs::create_directories(folder_ + "/bin/backend");
  if (!installBackend()) {
    whyNot = "the backend folder could not be set up";
    return false;
  }

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

// The scheduler's own program folder: the system's filters and helpers, and the one backend.
bool PrivateCups::installBackend() {
  std::error_code failed;
  for (const char* part : {"filter", "daemon", "cgi-bin", "monitor", "notifier", "driver"}) {
    fs::create_directory_symlink(std::string("/usr/lib/cups/") + part, folder_ + "/bin/" + part, failed);
    if (failed) return false;
  }
  const std::string backend = folder_ + "/bin/backend/pdfcopy";
  std::ofstream(backend) << kBackend;
  fs::permissions(backend,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  failed);
  // A PPD that takes PDF as it comes, so the job reaches the backend as the PDF the program wrote.
  std::ofstream(folder_ + "/pdf.ppd")
      << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
      << "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"PQPDF.PPD\"\n"
      << "*Manufacturer: \"PQ Desk\"\n*Product: \"(PDF copy)\"\n*ModelName: \"PDF copy\"\n"
      << "*ShortNickName: \"PDF copy\"\n*NickName: \"PDF copy\"\n*PSVersion: \"(3010.000) 0\"\n"
      << "*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n*FileSystem: False\n"
      << "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
      << "*cupsFilter2: \"application/pdf application/pdf 0 -\"\n"
      << "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
      << "*PageSize A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
      << "*DefaultImageableArea: A4\n*ImageableArea A4: \"0 0 595 842\"\n"
      << "*DefaultPaperDimension: A4\n*PaperDimension A4: \"595 842\"\n";
  return !failed;
}

bool PrivateCups::addQueue(const std::string& queue, const std::string& description,
                           const std::string& output) {
  return run("lpadmin -p " + queue + " -D '" + description + "' -E -v pdfcopy:" + output + " -P " + folder_ +
             "/pdf.ppd") == 0;
}

bool PrivateCups::addSmartPrint() { return addQueue("Smart_Print", "Smart Print", smartPrintOutput()); }

void PrivateCups::removeSmartPrint() { run("lpadmin -x Smart_Print"); }

PrivateCups::~PrivateCups() {
  if (scheduler_ > 0) {
    ::kill(scheduler_, SIGTERM);
    ::waitpid(scheduler_, nullptr, 0);
  }
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
