// The entry point: hands the arguments to the run and its status to the system.
#include <iostream>
#include <string>
#include <vector>

#include "frontend/options.h"
#include "frontend/run_conversion.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // Bytes go out as the tool wrote them: its line ends are already CRLF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  args = pictoswap::SplitWindowsCommandLine(GetCommandLineA());
  if (!args.empty()) args.erase(args.begin());
  (void)argc;
  (void)argv;
#else
  // A file size limit makes a write fail instead of killing the process midway.
  std::signal(SIGXFSZ, SIG_IGN);
  args.assign(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
  std::ios::sync_with_stdio(false);
  return pictoswap::RunConversion(args, pictoswap::Console{std::cout, std::cerr});
}
