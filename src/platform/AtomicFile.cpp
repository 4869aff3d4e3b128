#include "platform/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

std::atomic<bool> g_durable{true};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

} // namespace

void SetDurableWrites(bool durable) {
  g_durable.store(durable);
}

FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
  FileReadResult result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.error = errno;
    ::close(fd);
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.error = EISDIR;
    ::close(fd);
    return result;
  }
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    result.error = EFBIG;
    ::close(fd);
    return result;
  }
  result.bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      // Shorter than fstat said (file changed under us) or a read error.
      result.error = n < 0 ? errno : EIO;
      result.bytes.clear();
      ::close(fd);
      return result;
    }
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  return result;
}

int WriteFileAtomic(const std::string& path, std::string_view data) {
  if (path.empty()) {
    return ENOENT;
  }
  // A hidden name in the same folder: rename() must not cross file systems, and a
  // temporary left by a killed process stays out of folder listings.
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) {
    return EISDIR;
  }
  std::string temp = folder + "." + name + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  int error = 0;
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  const bool durable = g_durable.load(std::memory_order_relaxed);
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, data) || (durable && ::fsync(fd) != 0)) {
    error = errno != 0 ? errno : EIO;
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temp.c_str());
    return error;
  }
  if (durable) {
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return 0;
}

} // namespace quorvex::platform
