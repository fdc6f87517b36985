// The console bytes and the command line of the real binary where they differ between platforms:
// a Cyrillic base name, the unconverted no-captions line, and (for the Windows build, run with
// PICTOSWAP_TEST_WINDOWS=1 under Wine) command lines split by the Windows rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/console_text.h"
#include "support/file_builder.h"
#include "support/temp_dir.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

Bytes CaptionlessAif() {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  return BuildAif(parts);
}

// The name arrives as the platform passes arguments (UTF-8 here; on Windows the ANSI code page,
// 1251) and is written inside its line: on Windows the whole line goes to code page 866.
TEST(ConsoleBytes, ACyrillicNameIsConvertedWithItsLine) {
  TempDir dir;
  dir.Write("Часы.aif", CaptionlessAif());
  const ToolRun run = RunTool(dir.path(), {"-iЧасы", "-sЧасы"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, Banner() + Opened("Часы.aif") + Created("Часы.mbm") + PlainLine("строк нету"));
  EXPECT_EQ(dir.Read("Часы.mbm"), BuildMbm(IconBitmaps(2)));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"Часы.aif", "Часы.mbm"}));

  // The same bytes spelled out, so that a wrong code page in the expectations cannot hide.
  const std::string opened =
      TestingWindowsBuild()
          ? "\r\n \"\x97\xa0\xe1\xeb.aif\" \xe4\xa0\xa9\xab \xae\xe2\xaa\xe0\xeb\xe2 !!!\r\n"
          : "\n \"Часы.aif\" файл открыт !!!\n";
  const std::string noCaptions = TestingWindowsBuild()
                                     ? "\xf1\xf2\xf0\xee\xea \xed\xe5\xf2\xf3\r\n"  // Windows-1251
                                     : "строк нету\n";
  EXPECT_NE(run.out.find(opened), std::string::npos);
  EXPECT_TRUE(run.out.ends_with(noCaptions));

  const ToolRun missing = RunTool(dir.path(), {"-iНет", "-sx"});
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.out,
            Banner() + PlainLine("") +
                OemLines({" Ошибка загрузки Aif файла !!! ", " \"Нет.aif\" файл не найден !!!",
                          " Работа программы прекращена !!!"}));
}

// Runs a literal command line through the Windows command interpreter, so that the tool gets it
// exactly as typed (Wine rebuilds the command line from an argument list, quoting as it likes).
class WindowsCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestingWindowsBuild())
      GTEST_SKIP() << "needs the Windows build (PICTOSWAP_TEST_WINDOWS=1)";
    const char* binary = std::getenv("PICTOSWAP_TEST_BINARY");
    ASSERT_TRUE(binary != nullptr && *binary != '\0') << "PICTOSWAP_TEST_BINARY names the .exe";
    binary_ = binary;
    // The default prefix maps drive Z: to the root of the file system.
    exe_ = "Z:" + std::filesystem::absolute(binary_).string();
    for (char& c : exe_) {
      if (c == '/') c = '\\';
    }
  }
  void TearDown() override {
    if (!binary_.empty()) ::setenv("PICTOSWAP_TEST_BINARY", binary_.c_str(), 1);
  }

  // The tool with `arguments` written after its name, as one line of a batch file.
  ToolRun RunLine(const TempDir& dir, const std::string& arguments) {
    const std::string script = "@" + exe_ + " " + arguments + "\r\n@exit /b %errorlevel%\r\n";
    dir.Write("run.bat", Bytes(script.begin(), script.end()));
    ::setenv("PICTOSWAP_TEST_BINARY", "cmd", 1);
    ToolRun run = RunTool(dir.path(), {"/c", "run.bat"});
    ::setenv("PICTOSWAP_TEST_BINARY", binary_.c_str(), 1);
    std::filesystem::remove(dir / "run.bat");
    return run;
  }

  std::string binary_;
  std::string exe_;
};

struct QuotedLineCase {
  std::string arguments;
  std::string expectedOut;
  std::vector<std::string> filesAfter;
};

TEST_F(WindowsCommandLine, QuotesGroupBlanksAndAreDropped) {
  const std::string both =
      Banner() + Opened("my app.aif") + Created("my icons.mbm") + PlainLine("строк нету");
  const std::vector<std::string> bothFiles{"my app.aif", "my icons.mbm"};
  const QuotedLineCase cases[] = {
      {"-i\"my app\" -s\"my icons\"", both, bothFiles},
      // Empty pairs of quotes give no argument; quotes inside an argument only switch quoting.
      {"\"\" -i\"my app\" \"\" \"\"-s\"my\"\" icons\" \"\"", both, bothFiles},
      {"\"-imy app\" -s\"my \"icons", both, bothFiles},
      // Outside quotes the blank ends the argument: the name must follow the letter.
      {"-i \"my app\" -sx",
       Banner() + PlainLine("") +
           OemLine(" ОШИБКА 1!!! Не указано имя редактируемого Aif файла!!!!") + Usage(),
       {"my app.aif"}},
      {"-i\"my\" app -sx",
       Banner() + PlainLine("") +
           OemLines({" Ошибка загрузки Aif файла !!! ", " \"my.aif\" файл не найден !!!",
                     " Работа программы прекращена !!!"}),
       {"my app.aif"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.Write("my app.aif", CaptionlessAif());
    const ToolRun run = RunLine(dir, c.arguments);
    EXPECT_EQ(run.status, 0) << c.arguments;
    EXPECT_EQ(run.err, "") << c.arguments;
    EXPECT_EQ(run.out, c.expectedOut) << c.arguments;
    EXPECT_EQ(dir.Names(), c.filesAfter) << c.arguments;
  }
}

TEST_F(WindowsCommandLine, AFailedSaveOfAQuotedNameReportsOnStandardErrorWithStatus1) {
  TempDir dir;
  dir.Write("my app.aif", CaptionlessAif());
  const ToolRun run = RunLine(dir, "-i\"my app\" -s\"no such folder\\icons\"");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("my app.aif") + PlainLine(""));
  const std::string first = "Pictoswap stopped: I/O error while writing no such folder\\icons.mbm";
  EXPECT_EQ(run.err.rfind(first + "\r\n", 0), 0u) << run.err;
  EXPECT_TRUE(run.err.ends_with(".\r\n\r\n")) << run.err;
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"my app.aif"}));
}

}  // namespace
}  // namespace pictoswap
