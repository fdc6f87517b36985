// File access on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// A large image is touched once from end to end: in pages of 2 MiB, where the system offers
// them, that costs a few hundred page faults fewer per MiB. Only a hint; nothing depends on it.
void AskForLargePages(char* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kLargePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return false;
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return false;
  // A regular file is read in one go into room for its image text; anything else (a pipe, a
  // device) grows as it comes.
  const std::size_t expected =
      S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
  bytes.reserve(2 * expected + kImageLineEnd.size());
  AskForLargePages(bytes.data(), bytes.capacity());
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) bytes.resize(std::max<std::size_t>(expected + 1, 2 * size));
    const ssize_t got = ::read(file.fd, bytes.data() + size, bytes.size() - size);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  bytes.resize(size);
  return true;
}

PendingFile::~PendingFile() {
  if (handle >= 0) {
    ::close(static_cast<int>(handle));
    ::unlink(temp.c_str());
  }
}

Status CreatePendingFile(PendingFile& file, const std::string& target) {
  file.target = target;
  for (int attempt = 0; attempt < 100 && file.handle < 0; ++attempt) {
    file.temp = target + ".pictoswap-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    file.handle = ::open(file.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.handle < 0 && errno != EEXIST) return ErrnoError(errno, target);
  }
  if (file.handle < 0) return ErrnoError(EEXIST, target);

  // A target that exists keeps its permissions.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(static_cast<int>(file.handle), existing.st_mode & 07777);
  }
  return Ok{};
}

Status WritePendingFile(PendingFile& file, const std::uint8_t* data, std::size_t size) {
  if (!WriteAll(static_cast<int>(file.handle), data, size)) return ErrnoError(errno, file.target);
  return Ok{};
}

Status CommitPendingFile(PendingFile& file) {
  const int fd = static_cast<int>(file.handle);
  if (::fsync(fd) != 0) return ErrnoError(errno, file.target);
  file.handle = -1;
  if (::close(fd) != 0 || ::rename(file.temp.c_str(), file.target.c_str()) != 0) {
    const int code = errno;
    ::unlink(file.temp.c_str());
    return ErrnoError(code, file.target);
  }
  return Ok{};
}

}  // namespace pictoswap

#endif  // _WIN32
