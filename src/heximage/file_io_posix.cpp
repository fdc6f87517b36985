// File access on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "heximage/file_transfer.h"

namespace pictoswap {
namespace {

// Closes the descriptor when the scope ends, whatever path leaves it.
struct FileDescriptor {
  int fd = -1;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

FatalError ErrnoError(int code, const std::string& file) {
  return IoError(code, std::strerror(code), file);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  }
  std::uint8_t chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

Status WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::string temp;
  FileDescriptor file;
  for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
    temp = path + ".pictoswap-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd < 0 && errno != EEXIST) return ErrnoError(errno, path);
  }
  if (file.fd < 0) return ErrnoError(EEXIST, path);

  // A target that exists keeps its permissions.
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
    ::fchmod(file.fd, target.st_mode & 07777);
  }
  if (!WriteAll(file.fd, bytes.data(), bytes.size()) || ::fsync(file.fd) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    return ErrnoError(code, path);
  }
  const int fd = file.fd;
  file.fd = -1;
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    return ErrnoError(code, path);
  }
  return Ok{};
}

}  // namespace pictoswap

#endif  // _WIN32
