// The real binary, run in a temporary folder: its whole output, exit status and files.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/console_text.h"
#include "support/file_builder.h"
#include "support/temp_dir.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

std::string NoCaptions() {
  return PlainLine("строк нету");
}

Bytes ExampleAif() {
  return BuildAif(ExampleAifSpec());
}

// Three icons (six bitmaps) to put into the example.
std::vector<BitmapSpec> NewIcons() {
  return {{168, 16, 1}, {168, 16, 2}, {328, 24, 3}, {328, 24, 4}, {2088, 64, 5}, {200, 64, 6}};
}

struct CommandLineCase {
  std::vector<std::string> args;
  std::string expectedOut;
  std::vector<std::string> filesAfter;
};

TEST(CommandLine, MessagesAndFilesFollowTheOptions) {
  const std::string err1 =
      PlainLine("") + OemLine(" ОШИБКА 1!!! Не указано имя редактируемого Aif файла!!!!");
  const std::string err2 =
      PlainLine("") + OemLine(" ОШИБКА 2!!! Не указана необходимая информация!!!!");
  const std::string notAll =
      PlainLine("") + OemLines({" Указана не вся информация !!!", " Aif файл не будет создан !!!"});
  const CommandLineCase cases[] = {
      {{}, Banner() + err1 + err2 + Usage(), {"example.aif"}},
      {{"-iexample"}, Banner() + err2 + Usage(), {"example.aif"}},
      {{"-Iexample"}, Banner() + err1 + err2 + Usage(), {"example.aif"}},
      {{"-Iexample", "-sx"}, Banner() + err1 + Usage(), {"example.aif"}},
      {{"-iexample", "-ox"}, Banner() + notAll + Opened("example.aif"), {"example.aif"}},
      {{"-iexample", "-lx"}, Banner() + notAll + Opened("example.aif"), {"example.aif"}},
      {{"-iexample", "-sx", "-ox"},
       Banner() + notAll + Opened("example.aif") + Created("x.mbm"),
       {"example.aif", "x.mbm"}},
      {{"-imissing", "-iexample", "/spics"},  // the later -i wins; any first character serves
       Banner() + Opened("example.aif") + Created("pics.mbm"),
       {"example.aif", "pics.mbm"}},
      {{"-iexample", "-s", "", "x"}, Banner() + err2 + Usage(), {"example.aif"}},
      {{"-i", "example", "-sx"}, Banner() + err1 + Usage(), {"example.aif"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.Write("example.aif", ExampleAif());
    const ToolRun run = RunTool(dir.path(), c.args);
    std::string joined;
    for (const auto& a : c.args) joined += "[" + a + "]";
    EXPECT_EQ(run.status, 0) << joined;
    EXPECT_EQ(run.out, c.expectedOut) << joined;
    EXPECT_EQ(run.err, "") << joined;
    EXPECT_EQ(dir.Names(), c.filesAfter) << joined;
    EXPECT_EQ(dir.Read("example.aif"), ExampleAif()) << joined;
  }
}

TEST(Loading, AMissingOrUnreadableSourceStopsTheRun) {
  const std::string stopped = PlainLine("") + OemLines({" Ошибка загрузки Aif файла !!! ",
                                                        " \"clock.aif\" файл не найден !!!",
                                                        " Работа программы прекращена !!!"});
  for (bool asFolder : {false, true}) {
    TempDir dir;
    if (asFolder) std::filesystem::create_directory(dir / "clock.aif");
    const ToolRun run = RunTool(dir.path(), {"-iclock", "-sclock", "-lnew", "-onew"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Banner() + stopped);
    EXPECT_EQ(dir.Names().size(), asFolder ? 1u : 0u);
  }
}

TEST(Loading, AVeryLongNameIsReportedAsNotFound) {
  TempDir dir;
  const std::string name(400, 'n');
  const ToolRun run = RunTool(dir.path(), {"-i" + name, "-s" + name});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(OemLine(" \"" + name + ".aif\" файл не найден !!!")), std::string::npos);
  EXPECT_TRUE(dir.Names().empty());
}

TEST(Loading, AnEmptySourceLoadsAndFailsAsAConversion) {
  TempDir dir;
  dir.Write("empty.aif", {});
  const ToolRun run = RunTool(dir.path(), {"-iempty", "-sx"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("empty.aif"));
  EXPECT_EQ(run.err, ReportLines("Pictoswap stopped: conversion error while extracting the "
                                 "bitmaps of empty.aif",
                                 "'$' is not a valid integer value"));  // nothing to read
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"empty.aif"}));
}

TEST(Extraction, TheShippedExampleGivesItsBitmapsAsAnMbm) {
  TempDir dir;
  std::filesystem::copy_file(std::filesystem::path(PICTOSWAP_SOURCE_DIR) / "examples/example.aif",
                             dir / "example.aif");
  EXPECT_EQ(dir.Read("example.aif"), ExampleAif()) << "examples/example.aif is out of date: "
                                                      "rebuild it with tools/make_example";
  const ToolRun run = RunTool(dir.path(), {"-iexample", "-sexample"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Banner() + Opened("example.aif") + Created("example.mbm"));
  EXPECT_EQ(dir.Read("example.mbm"), BuildMbm(ExampleAifSpec().bitmaps));
}

TEST(Extraction, ASourceWithoutCaptionsSaysSo) {
  TempDir dir;
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  dir.Write("plain.aif", BuildAif(parts));
  const ToolRun run = RunTool(dir.path(), {"-iplain", "-splain"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, Banner() + Opened("plain.aif") + Created("plain.mbm") + NoCaptions());
}

TEST(Extraction, AMissingReplacementEndsTheRunAfterTheMbmIsWritten) {
  TempDir dir;
  dir.Write("example.aif", ExampleAif());
  const ToolRun run = RunTool(dir.path(), {"-iexample", "-sx", "-lnew", "-oout"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            Banner() + Opened("example.aif") + Created("x.mbm") + PlainLine("") +
                OemLines({" Ошибка загрузки mbm файла !!! ", " \"new.mbm\" файл не найден !!!"}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"example.aif", "x.mbm"}));
}

TEST(Extraction, BitmapsThatDoNotEndWhereTheCaptionsBeginWriteNoMbm) {
  AifSpec parts = ExampleAifSpec();
  Bytes aif = BuildAif(parts);
  const std::size_t root = aif[16] | (aif[17] << 8);
  aif[root + 1] += 1;  // the first caption entry points one byte past the bitmaps
  TempDir dir;
  dir.Write("gap.aif", aif);
  const ToolRun run = RunTool(dir.path(), {"-igap", "-sgap"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("gap.aif"));
  EXPECT_EQ(run.err, ReportLines("Pictoswap stopped: damaged output refused while extracting the "
                                 "bitmaps of gap.aif",
                                 "the bitmaps of gap.aif do not end where its captions begin, so "
                                 "gap.mbm was not written"));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"gap.aif"}));
  // Without -s no MBM is written, so the run reads on to its end.
  const ToolRun read = RunTool(dir.path(), {"-igap", "-ox"});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.err, "");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"gap.aif"}));
}

TEST(Extraction, ACaptionScanBelowTheRootStreamIsFatalAfterTheMbmIsWritten) {
  Bytes aif = ExampleAif();
  const std::size_t root = aif[16] | (aif[17] << 8);
  // A count byte of 01 halves to 0; the trailer still points at the end of the bitmaps.
  aif[root] = 0x01;
  TempDir dir;
  dir.Write("clock.aif", aif);
  const ToolRun run = RunTool(dir.path(), {"-iclock", "-sclock"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("clock.aif") + Created("clock.mbm"));
  EXPECT_EQ(run.err, ReportLines("Pictoswap stopped: caption scan error while reading the root "
                                 "stream of clock.aif",
                                 "the caption count of clock.aif was not found: the backward "
                                 "scan reached the start of its root stream"));
  EXPECT_EQ(dir.Read("clock.mbm"), BuildMbm(ExampleAifSpec().bitmaps));
}

TEST(Extraction, ABitmapChainPastTheEndOfTheFileWritesNoMbm) {
  AifSpec plain;  // no captions: the trailer is where the walk ends
  plain.bitmaps = IconBitmaps(2);
  const Bytes good = BuildAif(plain);
  // The last bitmap (at 60) claims 0x10000 bytes: the bitmaps end past the file, and the MBM
  // text runs into the image's line end. The first one claiming as much makes the walk read its
  // next size field past the end. With a caption, the first caption entry no longer names the
  // end of the bitmaps.
  Bytes lastTooLong = good;
  lastTooLong[60 + 2] = 0x01;
  Bytes firstTooLong = good;
  firstTooLong[20 + 2] = 0x01;
  Bytes withCaption = ExampleAif();
  withCaption[564 + 2] = 0x01;
  const std::pair<Bytes, std::string> cases[] = {
      {lastTooLong, "Pictoswap stopped: conversion error while writing x.mbm"},
      {firstTooLong,
       "Pictoswap stopped: conversion error while extracting the bitmaps of clock.aif"},
      {withCaption,
       "Pictoswap stopped: damaged output refused while extracting the bitmaps of clock.aif"},
  };
  for (const auto& [aif, firstLine] : cases) {
    TempDir dir;
    dir.Write("clock.aif", aif);
    const ToolRun run = RunTool(dir.path(), {"-iclock", "-sx"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find(LineEnd())), firstLine);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"clock.aif"}));
  }
}

TEST(Rebuild, TheExampleGetsThreeNewIcons) {
  TempDir dir;
  dir.Write("example.aif", ExampleAif());
  dir.Write("new.mbm", BuildMbm(NewIcons()));
  const ToolRun run = RunTool(dir.path(), {"-iexample", "-lnew", "-oout"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, Banner() + Opened("example.aif") + Opened("new.mbm") + Created("out.aif"));

  AifSpec expected = ExampleAifSpec();
  expected.bitmaps = NewIcons();
  EXPECT_EQ(dir.Read("out.aif"), BuildAif(expected));

  // The new AIF gives its new bitmaps back, and rebuilds into itself.
  const ToolRun again = RunTool(dir.path(), {"-iout", "-sback", "-lback", "-oagain"});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(dir.Read("back.mbm"), BuildMbm(NewIcons()));
  EXPECT_EQ(dir.Read("again.aif"), dir.Read("out.aif"));
}

TEST(Rebuild, OwnBitmapsGiveTheSourceBackWithOrWithoutTheMbm) {
  TempDir dir;
  dir.Write("example.aif", ExampleAif());
  ASSERT_EQ(RunTool(dir.path(), {"-iexample", "-sown"}).status, 0);
  ASSERT_EQ(RunTool(dir.path(), {"-iexample", "-lown", "-oa"}).status, 0);
  EXPECT_EQ(dir.Read("a.aif"), ExampleAif());
  // The output over the source gives the same bytes as another name.
  dir.Write("new.mbm", BuildMbm(NewIcons()));
  ASSERT_EQ(RunTool(dir.path(), {"-iexample", "-lnew", "-oother"}).status, 0);
  ASSERT_EQ(RunTool(dir.path(), {"-iexample", "-lnew", "-oexample"}).status, 0);
  EXPECT_EQ(dir.Read("example.aif"), dir.Read("other.aif"));
}

TEST(Rebuild, ASourceThatCannotBeCarriedOverIntactIsRefused) {
  // Four bytes between the captions and the root stream that no extras table names.
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  parts.captions = {{"Clock", 1}};
  Bytes aif = BuildAif(parts);
  aif.insert(aif.begin() + 106, {1, 2, 3, 4});
  aif[16] += 4;
  TempDir dir;
  dir.Write("lossy.aif", aif);
  dir.Write("out.aif", {7, 7, 7});
  dir.Write("new.mbm", BuildMbm(NewIcons()));
  const ToolRun run = RunTool(dir.path(), {"-ilossy", "-sown", "-lnew", "-oout"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("lossy.aif") + Created("own.mbm") + Opened("new.mbm"));
  EXPECT_EQ(run.err, ReportLines("Pictoswap stopped: damaged output refused while checking "
                                 "lossy.aif",
                                 "the captions, extra items or root stream of lossy.aif cannot "
                                 "be carried over intact, so out.aif was not written"));
  EXPECT_EQ(dir.Read("out.aif"), (Bytes{7, 7, 7}));
  EXPECT_EQ(dir.Read("own.mbm"), BuildMbm(parts.bitmaps));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"lossy.aif", "new.mbm", "out.aif", "own.mbm"}));
}

TEST(Rebuild, AReplacementWhoseTrailerLiesPastItsEndWritesNothing) {
  Bytes mbm = BuildMbm(NewIcons());
  mbm[17] += 0x40;
  TempDir dir;
  dir.Write("example.aif", ExampleAif());
  dir.Write("bad.mbm", mbm);
  dir.Write("out.aif", {1, 2});
  const ToolRun run = RunTool(dir.path(), {"-iexample", "-lbad", "-oout"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, Banner() + Opened("example.aif") + Opened("bad.mbm") + PlainLine(""));
  EXPECT_EQ(run.err, ReportLines("Pictoswap stopped: conversion error while writing out.aif",
                                 "'$\r\n' is not a valid integer value"));
  EXPECT_EQ(dir.Read("out.aif"), (Bytes{1, 2}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"bad.mbm", "example.aif", "out.aif"}));
}

struct SaveFailureCase {
  std::string name;
  std::vector<std::string> args;
  std::string expectedOut;
  RunLimits limits;
};

TEST(Saving, AFailedSaveLeavesEveryFileAsItWas) {
  TempDir dir;
  dir.Write("clock.aif", ExampleAif());
  dir.Write("new.mbm", BuildMbm(NewIcons()));
  std::filesystem::create_directory(dir / "folder.mbm");
  const std::string base = Banner() + Opened("clock.aif");
  const SaveFailureCase cases[] = {
      {"missing folder", {"-iclock", "-snowhere/x"}, base + PlainLine(""), {}},
      {"target is a folder", {"-iclock", "-sfolder"}, base + PlainLine(""), {}},
      {"name too long", {"-iclock", "-s" + std::string(300, 'm')}, base + PlainLine(""), {}},
      {"file size limit", {"-iclock", "-sbig"}, base + PlainLine(""), RunLimits{512}},
      {"over the source",
       {"-iclock", "-lnew", "-oclock"},
       base + Opened("new.mbm") + PlainLine(""),
       RunLimits{1024}},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(dir.path(), c.args, c.limits);
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.out, c.expectedOut) << c.name;
    EXPECT_EQ(run.err.rfind("Pictoswap stopped: I/O error while writing ", 0), 0u)
        << c.name << ": " << run.err;
    EXPECT_EQ(dir.Read("clock.aif"), ExampleAif()) << c.name;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"clock.aif", "folder.mbm", "new.mbm"}))
        << c.name;
  }
}

// Real applications' files, when the shared folder is there: each one either comes back byte for
// byte from its own bitmaps, or is refused with nothing written.
TEST(RealFiles, EachComesBackOrIsRefusedWithNothingWritten) {
  const std::filesystem::path folder =
      std::filesystem::path(PICTOSWAP_SOURCE_DIR) / "../shared/realworld/aif";
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no real files at " << folder;
  int same = 0;
  int refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".aif") continue;
    TempDir dir;
    dir.Write("app.aif", ReadFile(entry.path()));
    const ToolRun extract = RunTool(dir.path(), {"-iapp", "-sapp"});
    const ToolRun rebuild = RunTool(dir.path(), {"-iapp", "-lapp", "-onew"});
    const std::string name = entry.path().filename().string();
    EXPECT_LE(extract.status, 1) << name;
    EXPECT_LE(rebuild.status, 1) << name;
    if (dir.Exists("new.aif")) {
      EXPECT_EQ(dir.Read("new.aif"), dir.Read("app.aif")) << name;
      ++same;
    } else {
      EXPECT_TRUE(extract.status == 1 || rebuild.status == 1) << name;
      ++refused;
    }
  }
  EXPECT_GE(same, 15);
  std::cout << "real files: " << same << " rebuilt byte for byte, " << refused << " refused\n";
}

}  // namespace
}  // namespace pictoswap
