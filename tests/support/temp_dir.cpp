#include "support/temp_dir.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pictoswap::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pictoswap-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::Write(const std::string& name, const Bytes& bytes) const {
  WriteFile(path_ / name, bytes);
}
Bytes TempDir::Read(const std::string& name) const {
  return ReadFile(path_ / name);
}
bool TempDir::Exists(const std::string& name) const {
  return std::filesystem::exists(path_ / name);
}

std::vector<std::string> TempDir::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

namespace {
std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

ToolRun RunTool(const std::filesystem::path& dir, const std::vector<std::string>& args,
                RunLimits limits) {
  TempDir capture;
  const std::string outPath = (capture.path() / "out").string();
  const std::string errPath = (capture.path() / "err").string();
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (::chdir(dir.c_str()) != 0) ::_exit(126);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int null = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || null < 0) ::_exit(126);
    ::dup2(null, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (limits.fileSizeLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(*limits.fileSizeLimit),
                         static_cast<rlim_t>(*limits.fileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    // PICTOSWAP_TEST_BINARY runs another build of the tool, PICTOSWAP_TEST_RUNNER a program that
    // runs it (such as wine for the Windows build).
    std::vector<std::string> command;
    if (const char* runner = std::getenv("PICTOSWAP_TEST_RUNNER"); runner && *runner) {
      command.emplace_back(runner);
    }
    const char* binary = std::getenv("PICTOSWAP_TEST_BINARY");
    command.emplace_back(binary && *binary ? binary : PICTOSWAP_BINARY);
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& part : command) argv.push_back(part.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  ToolRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = Slurp(outPath);
  run.err = Slurp(errPath);
  return run;
}

}  // namespace pictoswap::testing
