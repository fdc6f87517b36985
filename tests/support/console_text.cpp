#include "support/console_text.h"

namespace pictoswap::testing {

std::string OemLine(std::string_view utf8) { return std::string(utf8) + "\n"; }
std::string PlainLine(std::string_view utf8) { return std::string(utf8) + "\n"; }

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

std::string ReportLines(std::string_view firstLine, std::string_view message) {
  return PlainLine(firstLine) + PlainLine(std::string(message) + ".") + PlainLine("");
}

}  // namespace pictoswap::testing
