// The command line: four options, each an argument whose second character is its letter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pictoswap {

struct OptionSet {
  std::string i;  // the SourceAif, read from i + ".aif"
  std::string s;  // the ExtractedMbm, written to s + ".mbm"
  std::string l;  // the ReplacementMbm, read from l + ".mbm"
  std::string o;  // the NewAif, written to o + ".aif"
};

// Examines every argument in order: a second character i, s, l or o (lower case) stores the
// whole argument, a later one replacing an earlier one; anything else, and arguments shorter
// than two characters, are ignored. Then the first two characters of each value are deleted.
OptionSet ParseOptions(const std::vector<std::string>& args);

// Splits a Windows command line as its console programs did: arguments are separated by any
// character of code 32 or below outside double quotes; a double quote switches quoting and is
// dropped; an empty pair of quotes gives no argument. The program name is the first item.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

}  // namespace pictoswap
