// What the real binary's console output looks like on the platform under test, built from the
// expected texts written in UTF-8 in the tests.
//
// With PICTOSWAP_TEST_WINDOWS=1 in the environment the suite runs against the Windows build (under
// Wine with a Russian locale): OEM lines are expected in code page 866, plain lines in
// Windows-1251, every line ended by CRLF. Otherwise lines are UTF-8 ended by "\n".
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace pictoswap::testing {

// True when the suite runs against the Windows build.
bool TestingWindowsBuild();

// The line end of the console output: "\r\n" for the Windows build, else "\n".
std::string_view LineEnd();

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

// The empty line and the line that says a file was opened, or created.
std::string Opened(std::string_view file);
std::string Created(std::string_view file);

// The fatal report on standard error: its first line, the message with its full stop, an empty
// line. On Windows the whole report goes through the OEM conversion, file names included.
std::string ReportLines(std::string_view firstLine, std::string_view message);

// UTF-8 text in another character set known to iconv ("CP866", "CP1251"); throws when a
// character has no place in it.
std::string Recode(std::string_view utf8, const char* charset);

}  // namespace pictoswap::testing
