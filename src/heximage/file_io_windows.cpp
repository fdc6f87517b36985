// File access on Windows.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "heximage/file_transfer.h"

namespace pictoswap {
namespace {

// Closes the handle when the scope ends, whatever path leaves it.
struct FileHandle {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

FatalError LastError(const std::string& file) {
  const DWORD code = GetLastError();
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                 sizeof text, nullptr);
  std::string detail(text);
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r' ||
                             detail.back() == '.' || detail.back() == ' ')) {
    detail.pop_back();
  }
  return IoError(static_cast<int>(code), detail, file);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER length{};
  const std::size_t expected = GetFileSizeEx(file.handle, &length) && length.QuadPart > 0
                                   ? static_cast<std::size_t>(length.QuadPart)
                                   : 0;
  bytes.reserve(2 * expected + kImageLineEnd.size());
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) bytes.resize(std::max<std::size_t>(expected + 1, 2 * size));
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - size, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.handle, bytes.data() + size, want, &got, nullptr)) return false;
    if (got == 0) break;
    size += got;
  }
  bytes.resize(size);
  return true;
}

PendingFile::~PendingFile() {
  if (handle != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    DeleteFileA(temp.c_str());
  }
}

Status CreatePendingFile(PendingFile& file, const std::string& target) {
  file.target = target;
  for (int attempt = 0; attempt < 100 && file.handle == -1; ++attempt) {
    file.temp = target + ".pictoswap-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(attempt);
    const HANDLE handle = CreateFileA(file.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      file.handle = reinterpret_cast<std::intptr_t>(handle);
    } else if (GetLastError() != ERROR_FILE_EXISTS) {
      return LastError(target);
    }
  }
  if (file.handle == -1) return LastError(target);
  return Ok{};
}

Status WritePendingFile(PendingFile& file, const std::uint8_t* data, std::size_t size) {
  const HANDLE handle = reinterpret_cast<HANDLE>(file.handle);
  std::size_t done = 0;
  while (done < size) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(handle, data + done, want, &wrote, nullptr) || wrote == 0) {
      return LastError(file.target);
    }
    done += wrote;
  }
  return Ok{};
}

Status CommitPendingFile(PendingFile& file) {
  const HANDLE handle = reinterpret_cast<HANDLE>(file.handle);
  file.handle = -1;
  // Each failure is read before the next call can overwrite the system's last error.
  std::optional<FatalError> error;
  if (!FlushFileBuffers(handle)) error = LastError(file.target);
  if (!CloseHandle(handle) && !error) error = LastError(file.target);
  if (!error && !MoveFileExA(file.temp.c_str(), file.target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastError(file.target);
  }
  if (!error) return Ok{};
  DeleteFileA(file.temp.c_str());
  return *std::move(error);
}

}  // namespace pictoswap

#endif  // _WIN32
