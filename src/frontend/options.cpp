#include "frontend/options.h"

#include <algorithm>

namespace pictoswap {
namespace {

std::string* OptionFor(OptionSet& options, char letter) {
  switch (letter) {
    case 'i':
      return &options.i;
    case 's':
      return &options.s;
    case 'l':
      return &options.l;
    case 'o':
      return &options.o;
    default:
      return nullptr;
  }
}

}  // namespace

OptionSet ParseOptions(const std::vector<std::string>& args) {
  OptionSet options;
  for (const std::string& arg : args) {
    if (arg.size() < 2) continue;
    if (std::string* option = OptionFor(options, arg[1])) *option = arg;
  }
  for (std::string* value : {&options.i, &options.s, &options.l, &options.o}) {
    value->erase(0, std::min<std::size_t>(2, value->size()));
  }
  return options;
}

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine) {
  std::vector<std::string> args;
  std::size_t p = 0;
  const auto isSeparator = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (p < commandLine.size()) {
    while (p < commandLine.size() && isSeparator(commandLine[p])) ++p;
    if (p >= commandLine.size()) break;
    std::string arg;
    bool quoted = false;
    while (p < commandLine.size() && (quoted || !isSeparator(commandLine[p]))) {
      if (commandLine[p] == '"') {
        quoted = !quoted;
      } else {
        arg.push_back(commandLine[p]);
      }
      ++p;
    }
    if (!arg.empty()) args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace pictoswap
