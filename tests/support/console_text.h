// What the real binary's console output looks like on the platform under test, built from the
// expected texts written in UTF-8 in the tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace pictoswap::testing {

// A line the tool converts to the console's OEM code page.
std::string OemLine(std::string_view utf8);
// A line the tool writes unconverted.
std::string PlainLine(std::string_view utf8);
// Several OEM lines (ASCII-only plain lines come out the same).
std::string OemLines(std::initializer_list<std::string_view> utf8Lines);

// The banner every run starts with.
std::string Banner();
// The usage block.
std::string Usage();

// The fatal report on standard error: its first line, the message with its full stop, an empty
// line.
std::string ReportLines(std::string_view firstLine, std::string_view message);

}  // namespace pictoswap::testing
