#include "frontend/options.h"

#include <gtest/gtest.h>

namespace pictoswap {
namespace {

struct OptionsCase {
  std::vector<std::string> args;
  OptionSet expected;
};

bool operator==(const OptionSet& a, const OptionSet& b) {
  return a.i == b.i && a.s == b.s && a.l == b.l && a.o == b.o;
}

TEST(Options, TheSecondCharacterDecidesAndTheFirstTwoAreDeleted) {
  const OptionsCase cases[] = {
      {{}, {}},
      {{"-iname"}, {"name", "", "", ""}},
      {{"-iname", "-ox"}, {"name", "", "", "x"}},
      {{"-Iname"}, {}},                     // upper case is not an option
      {{"-ia", "-ib"}, {"b", "", "", ""}},  // a later one wins
      {{"/spics"}, {"", "pics", "", ""}},   // the first character is free
      {{"-s"}, {}},                         // two characters leave it empty
      {{"", "i", "-"}, {}},                 // empty and one-character arguments
      {{"-i", "myapp"}, {}},                // the name must follow the letter
      {{"-iclock", "-lnew", "-oclock2", "-snew"}, {"clock", "new", "new", "clock2"}},
      {{"xiИмя"}, {"Имя", "", "", ""}},
  };
  for (const auto& c : cases) {
    const OptionSet got = ParseOptions(c.args);
    EXPECT_TRUE(got == c.expected) << got.i << "|" << got.s << "|" << got.l << "|" << got.o;
  }
}

TEST(Options, WindowsCommandLinesSplitAtBlanksOutsideQuotes) {
  const std::pair<std::string_view, std::vector<std::string>> cases[] = {
      {"pictoswap.exe -iclock -sx", {"pictoswap.exe", "-iclock", "-sx"}},
      {"\"C:\\My Tools\\pictoswap.exe\" -i\"my app\"", {"C:\\My Tools\\pictoswap.exe", "-imy app"}},
      {"p \"\" -ia", {"p", "-ia"}},  // an empty pair of quotes gives no argument
      {"p\t-ia\x01-sb", {"p", "-ia", "-sb"}},
      {"p -i\"a\"\"b\"", {"p", "-iab"}},
      {"  ", {}},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(SplitWindowsCommandLine(line), expected) << line;
  }
}

}  // namespace
}  // namespace pictoswap
