// How a console line becomes bytes on this platform. On Windows the catalogue's texts go to
// Windows-1251 and the OEM lines through CharToOemA, ended by CRLF; elsewhere lines are UTF-8
// ended by "\n" and names pass unchanged.
#pragma once

#include <string>
#include <string_view>

#include "frontend/messages.h"
#include "heximage/fatal.h"

namespace pictoswap {

extern const std::string_view kConsoleLineEnd;

// The line's bytes, line end included.
std::string EncodeConsoleLine(const ConsoleLine& line);

// The fatal report's bytes for standard error.
std::string EncodeFatalReport(const FatalError& error);

}  // namespace pictoswap
