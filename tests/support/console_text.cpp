#include "support/console_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace pictoswap::testing {

bool TestingWindowsBuild() {
  static const bool windows = [] {
    const char* flag = std::getenv("PICTOSWAP_TEST_WINDOWS");
    return flag != nullptr && std::string_view(flag) == "1";
  }();
  return windows;
}

std::string_view LineEnd() {
  return TestingWindowsBuild() ? "\r\n" : "\n";
}

std::string Recode(std::string_view utf8, const char* charset) {
  iconv_t cd = ::iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("iconv has no ") + charset);
  }
  std::string in(utf8);
  std::string out(in.size(), '\0');  // neither target needs more bytes than UTF-8
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  const int code = errno;
  ::iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) {
    throw std::runtime_error("cannot recode '" + std::string(utf8) + "' to " + charset +
                             " (errno " + std::to_string(code) + ")");
  }
  out.resize(out.size() - outLeft);
  return out;
}

namespace {

std::string Line(std::string_view utf8, const char* windowsCharset) {
  std::string line = TestingWindowsBuild() ? Recode(utf8, windowsCharset) : std::string(utf8);
  line += LineEnd();
  return line;
}

}  // namespace

std::string OemLine(std::string_view utf8) {
  return Line(utf8, "CP866");
}
std::string PlainLine(std::string_view utf8) {
  return Line(utf8, "CP1251");
}

std::string OemLines(std::initializer_list<std::string_view> utf8Lines) {
  std::string out;
  for (std::string_view line : utf8Lines) out += OemLine(line);
  return out;
}

std::string Banner() {
  return PlainLine("") + PlainLine("") + PlainLine(" Pictoswap. The free version (1.01).") +
         PlainLine(" Pictoswap project, 2026.") +
         OemLine(" Авторы: разработчики проекта Pictoswap.") +
         PlainLine(" Contact: see the README of the Pictoswap project.") +
         PlainLine(" Questions and reports: the Pictoswap issue tracker.");
}

std::string Usage() {
  return PlainLine("") + PlainLine(" --------") +
         OemLines({" Параметры:", " -i{Имя Aif файла для редактирования}",
                   " -s{Имя mbm файла сохраняемого из редактирумой иконки}",
                   " -l{Имя mbm файла, который будет запакован в новый Aif файл}",
                   " -o{Имя нового Aif файла (после редактирования)}"});
}

std::string Opened(std::string_view file) {
  return PlainLine("") + OemLine(" \"" + std::string(file) + "\" файл открыт !!!");
}

std::string Created(std::string_view file) {
  return PlainLine("") + OemLine(" \"" + std::string(file) + "\" файл создан !!!");
}

std::string ReportLines(std::string_view firstLine, std::string_view message) {
  return OemLine(firstLine) + OemLine(std::string(message) + ".") + OemLine("");
}

}  // namespace pictoswap::testing
