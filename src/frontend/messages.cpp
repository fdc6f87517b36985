#include "frontend/messages.h"

#include <array>

namespace pictoswap {
namespace {

using enum MessageId;
constexpr MessagePath kOem = MessagePath::Oem;
constexpr MessagePath kPlain = MessagePath::Plain;

constexpr std::array<Message, 21> kCatalogue{{
    {TITLE, " Pictoswap. The free version (1.01).", kPlain, false, ""},
    {ERR1, " ОШИБКА 1!!! Не указано имя редактируемого Aif файла!!!!", kOem, true, ""},
    {ERR2, " ОШИБКА 2!!! Не указана необходимая информация!!!!", kOem, true, ""},
    {NOTALL, " Указана не вся информация !!!", kOem, true, ""},
    {NOAIF, " Aif файл не будет создан !!!", kOem, false, ""},
    {RULE, " --------", kPlain, true, ""},
    {PARAMS, " Параметры:", kOem, false, ""},
    {HELP_I, " -i{Имя Aif файла для редактирования}", kOem, false, ""},
    {HELP_S, " -s{Имя mbm файла сохраняемого из редактирумой иконки}", kOem, false, ""},
    {HELP_L, " -l{Имя mbm файла, который будет запакован в новый Aif файл}", kOem, false, ""},
    {HELP_O, " -o{Имя нового Aif файла (после редактирования)}", kOem, false, ""},
    {AIF_LOADERR, " Ошибка загрузки Aif файла !!! ", kOem, true, ""},
    {AIF_NOTFOUND, " файл не найден !!!", kOem, false, ".aif"},
    {STOPPED, " Работа программы прекращена !!!", kOem, false, ""},
    {AIF_OPENED, " файл открыт !!!", kOem, true, ".aif"},
    {MBM_CREATED, " файл создан !!!", kOem, true, ".mbm"},
    {MBM_LOADERR, " Ошибка загрузки mbm файла !!! ", kOem, true, ""},
    {MBM_NOTFOUND, " файл не найден !!!", kOem, false, ".mbm"},
    {MBM_OPENED, " файл открыт !!!", kOem, true, ".mbm"},
    {NOCAPTIONS, "строк нету", kPlain, false, ""},
    {AIF_CREATED, " файл создан !!!", kOem, true, ".aif"},
}};

// The maker's lines of the banner: the project itself, no person.
constexpr std::array<std::pair<std::string_view, MessagePath>, 4> kMakerLines{{
    {" Pictoswap project, 2026.", kPlain},
    {" Авторы: разработчики проекта Pictoswap.", kOem},
    {" Contact: see the README of the Pictoswap project.", kPlain},
    {" Questions and reports: the Pictoswap issue tracker.", kPlain},
}};

}  // namespace

const Message& MessageOf(MessageId id) {
  for (const Message& message : kCatalogue) {
    if (message.id == id) return message;
  }
  return kCatalogue.front();
}

ConsoleLine LineOf(MessageId id, std::string_view baseName) {
  const Message& message = MessageOf(id);
  ConsoleLine line{message.text, message.path, !message.suffix.empty(), {}, message.suffix};
  if (line.isFileLine) line.name = baseName;
  return line;
}

ConsoleLine EmptyLine() {
  return ConsoleLine{};
}

std::vector<ConsoleLine> BannerLines() {
  std::vector<ConsoleLine> lines{EmptyLine(), EmptyLine(), LineOf(TITLE)};
  for (const auto& [text, path] : kMakerLines)
    lines.push_back(ConsoleLine{text, path, false, {}, {}});
  return lines;
}

std::vector<ConsoleLine> UsageLines() {
  return {EmptyLine(),    LineOf(RULE),   LineOf(PARAMS), LineOf(HELP_I),
          LineOf(HELP_S), LineOf(HELP_L), LineOf(HELP_O)};
}

}  // namespace pictoswap
