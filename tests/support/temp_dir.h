// A temporary folder for a test, and the real binary run inside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/file_builder.h"

namespace pictoswap::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  void Write(const std::string& name, const Bytes& bytes) const;
  Bytes Read(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // The names of every entry in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

struct RunLimits {
  std::optional<long> fileSizeLimit;  // bytes; like `ulimit -f`
};

// Runs the pictoswap binary with `args` in `dir`, capturing its output and exit status.
ToolRun RunTool(const std::filesystem::path& dir, const std::vector<std::string>& args,
                RunLimits limits = {});

// Reads a whole file, or writes one, as bytes.
Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace pictoswap::testing
