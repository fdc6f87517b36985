// A folder for the checks that need files, in memory when the system has a folder for that (every
// save is synced). It exists only while a ScratchUse is alive, so that a fuzzer that ends in any
// way leaves at most one empty name behind, never files.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pictoswap::fuzz {

// A name of this process's own, reserved once.
inline const std::filesystem::path& ScratchPath() {
  static const std::filesystem::path path = [] {
    std::error_code ignored;
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
    std::string pattern = (base / "pictoswap-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return path;
}

class ScratchUse {
 public:
  ScratchUse() { std::filesystem::create_directories(ScratchPath()); }
  ~ScratchUse() {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchPath(), ignored);
  }
  ScratchUse(const ScratchUse&) = delete;
  ScratchUse& operator=(const ScratchUse&) = delete;
  const std::filesystem::path& path() const { return ScratchPath(); }
};

}  // namespace pictoswap::fuzz
