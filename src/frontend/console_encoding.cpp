#include "frontend/console_encoding.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pictoswap {
namespace {

#ifdef _WIN32
// The catalogue is kept in UTF-8; the console texts are Windows-1251.
std::string AnsiFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int wide =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
  const int narrow = WideCharToMultiByte(1251, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(1251, 0, text.data(), wide, out.data(), narrow, nullptr, nullptr);
  return out;
}

// The whole line, byte for byte into a buffer of the same length.
std::string OemFromAnsi(std::string ansi) {
  if (!ansi.empty()) {
    CharToOemBuffA(ansi.data(), ansi.data(), static_cast<DWORD>(ansi.size()));
  }
  return ansi;
}
#else
std::string AnsiFromUtf8(std::string_view utf8) {
  return std::string(utf8);
}
std::string OemFromAnsi(std::string ansi) {
  return ansi;
}
#endif

}  // namespace

#ifdef _WIN32
const std::string_view kConsoleLineEnd = "\r\n";
#else
const std::string_view kConsoleLineEnd = "\n";
#endif

std::string EncodeConsoleLine(const ConsoleLine& line) {
  std::string text;
  if (line.isFileLine) {
    // A space, a quote, the base name, the extension, a quote, the tail.
    text = " \"";
    text += line.name;
    text += line.suffix;
    text += "\"";
  }
  text += AnsiFromUtf8(line.text);
  if (line.path == MessagePath::Oem) text = OemFromAnsi(std::move(text));
  text += kConsoleLineEnd;
  return text;
}

std::string EncodeFatalReport(const FatalError& error) {
  return OemFromAnsi(FormatFatalReport(error, kConsoleLineEnd));
}

}  // namespace pictoswap
