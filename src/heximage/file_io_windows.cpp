// File access on Windows.
#ifdef _WIN32

#include <windows.h>

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
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                 text, sizeof text, nullptr);
  std::string detail(text);
  while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r' ||
                             detail.back() == '.' || detail.back() == ' ')) {
    detail.pop_back();
  }
  return IoError(static_cast<int>(code), detail, file);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  FileHandle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.handle, chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

Status WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::string temp;
  FileHandle file;
  for (int attempt = 0; attempt < 100 && file.handle == INVALID_HANDLE_VALUE; ++attempt) {
    temp = path + ".pictoswap-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(attempt);
    file.handle = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      return LastError(path);
    }
  }
  if (file.handle == INVALID_HANDLE_VALUE) return LastError(path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(file.handle, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) {
      FatalError error = LastError(path);
      CloseHandle(file.handle);
      file.handle = INVALID_HANDLE_VALUE;
      DeleteFileA(temp.c_str());
      return error;
    }
    done += wrote;
  }
  const bool flushed = FlushFileBuffers(file.handle) != 0;
  const bool closed = CloseHandle(file.handle) != 0;
  file.handle = INVALID_HANDLE_VALUE;
  if (!flushed || !closed ||
      !MoveFileExA(temp.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    FatalError error = LastError(path);
    DeleteFileA(temp.c_str());
    return error;
  }
  return Ok{};
}

}  // namespace pictoswap

#endif  // _WIN32
