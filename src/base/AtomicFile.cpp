#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

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

mode_t defaultMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : target_(resolveLinks(targetPath)) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::fail(const char* what) {
  if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(errno);
  discard();
  return false;
}

void AtomicFile::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
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

  std::vector<char> name(target_.begin(), target_.end());
  const char suffix[] = ".tmp-XXXXXX";
  name.insert(name.end(), suffix, suffix + sizeof suffix);
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return fail(folderOf(target_).c_str());
  temporary_ = name.data();
  const mode_t mode = exists ? (existing.st_mode & 07777) : defaultMode();
  if (::fchmod(fd_, mode) != 0) return fail(temporary_.c_str());
  return true;
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

bool AtomicFile::commit() {
  if (fd_ < 0) return false;
  if (::fsync(fd_) != 0) return fail(temporary_.c_str());
  if (::close(fd_) != 0) {
    fd_ = -1;
    return fail(temporary_.c_str());
  }
  fd_ = -1;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return fail(target_.c_str());
  temporary_.clear();
  // The rename itself must reach the disk too, or a power cut could bring back the old name.
  const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

}  // namespace pq
