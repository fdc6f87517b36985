#include "frontend/messages.h"

#include <gtest/gtest.h>

#include "frontend/console_encoding.h"

namespace pictoswap {
namespace {

std::string Encoded(const ConsoleLine& line) {
  std::string text = EncodeConsoleLine(line);
  return text.substr(0, text.size() - kConsoleLineEnd.size());
}

#ifndef _WIN32
TEST(Messages, FileLinesInsertTheBaseNameUnchanged) {
  EXPECT_EQ(Encoded(LineOf(MessageId::AIF_OPENED, "app")), " \"app.aif\" файл открыт !!!");
  EXPECT_EQ(Encoded(LineOf(MessageId::MBM_NOTFOUND, "Часы")), " \"Часы.mbm\" файл не найден !!!");
  EXPECT_EQ(Encoded(LineOf(MessageId::AIF_CREATED, "a b")), " \"a b.aif\" файл создан !!!");
}

TEST(Messages, LoadErrorsEndWithASpace) {
  EXPECT_EQ(Encoded(LineOf(MessageId::AIF_LOADERR)), " Ошибка загрузки Aif файла !!! ");
  EXPECT_EQ(Encoded(LineOf(MessageId::MBM_LOADERR)), " Ошибка загрузки mbm файла !!! ");
}
#endif

TEST(Messages, BannerAndUsageHaveTheirShape) {
  const auto banner = BannerLines();
  ASSERT_EQ(banner.size(), 7u);
  EXPECT_EQ(banner[0].text, "");
  EXPECT_EQ(banner[1].text, "");
  EXPECT_EQ(banner[2].text, " Pictoswap. The free version (1.01).");
  const auto usage = UsageLines();
  ASSERT_EQ(usage.size(), 7u);
  EXPECT_EQ(usage[0].text, "");
  EXPECT_EQ(usage[1].text, " --------");
  EXPECT_EQ(usage[6].text, " -o{Имя нового Aif файла (после редактирования)}");
  EXPECT_EQ(MessageOf(MessageId::NOCAPTIONS).path, MessagePath::Plain);
}

}  // namespace
}  // namespace pictoswap
