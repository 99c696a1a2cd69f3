#include "base/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/SystemErrorText.h"

namespace pq {

namespace {

std::string resolveLinks(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;  // not there yet: created as named
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr char kRandomPart[] = "XXXXXX";

// ".NAME.tmp-": the temporaries of one target differ only in the random part that follows.
std::string temporaryPrefix(const std::string& target) { return "." + nameOf(target) + ".tmp-"; }

mode_t defaultMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : target_(resolveLinks(targetPath)) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::fail(const char* what) {
  const int reason = errno;
  if (error_.empty()) error_ = std::string(what) + ": " + systemErrorText(reason);
  discard();
  return false;
}

// Unlinked before it is closed: once closed it is unlocked and would look stale to another writer.
void AtomicFile::discard() {
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

bool AtomicFile::open() {
  if (target_.empty()) {
    errno = ENOENT;
    return fail("no file name");
  }
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && ::access(target_.c_str(), W_OK) != 0) return fail(target_.c_str());

  if (!createTemporary()) return fail(folderOf(target_).c_str());
  removeStaleTemporaries();
  const mode_t mode = exists ? (existing.st_mode & 07777) : defaultMode();
  if (::fchmod(fd_, mode) != 0) return fail(temporary_.c_str());
  return true;
}

// A fresh temporary, locked. Another writer's cleanup may catch it in the moment between creation
// and lock and remove it; it is then made again.
bool AtomicFile::createTemporary() {
  const std::string pattern = folderOf(target_) + "/" + temporaryPrefix(target_) + kRandomPart;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
      fd_ = fd;
      temporary_ = name.data();
      return true;
    }
    ::close(fd);
  }
  errno = EAGAIN;
  return false;
}

// A lock on a temporary ends with the process that held it, so one that can be locked is stale.
void AtomicFile::removeStaleTemporaries() const {
  const std::string folder = folderOf(target_);
  const std::string prefix = temporaryPrefix(target_);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int savedErrno = errno;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + sizeof kRandomPart - 1 ||
        name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const std::string path = folder + "/" + name;
    if (path == temporary_) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
  ::closedir(listing);
  errno = savedErrno;
}

bool AtomicFile::write(const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(temporary_.c_str());
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(temporary_.c_str());
    }
    p += n;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::commit() {
  if (fd_ < 0) return false;
  if (::fsync(fd_) != 0) return fail(temporary_.c_str());
  // Renamed while still open and locked, so no other writer takes it for a stale one. The content
  // is on the disk already; closing can no longer lose it.
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return fail(target_.c_str());
  temporary_.clear();
  ::close(fd_);
  fd_ = -1;
  // The rename itself must reach the disk too, or a power cut could bring back the old name.
  const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

}  // namespace pq
