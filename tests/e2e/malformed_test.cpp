// Hostile input: damaged, truncated and foreign files given to the tool. Whatever it reads, a run
// ends cleanly (exit 0 with its messages, or exit 1 with the fatal report), never writes a file
// that describes itself wrongly, and leaves the source and every other file as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "frontend/run_conversion.h"
#include "run_input.h"
#include "support/console_text.h"
#include "support/file_builder.h"
#include "support/temp_dir.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;
namespace fs = std::filesystem;

std::uint32_t Le32At(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes.at(at)) |
         static_cast<std::uint32_t>(bytes.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(bytes.at(at + 2)) << 16 |
         static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}
void PutLe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  const Bytes le = Le32(value);
  std::copy(le.begin(), le.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}
Bytes Truncated(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}
Bytes BytesOf(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// The example's layout: bitmaps at 20, 180, 276 and 564, the caption "Clock" at 724, the extra
// item at 730, the root stream at 738, 767 bytes in all.
constexpr std::size_t kExampleCaption = 724;
constexpr std::size_t kExampleExtra = 730;
constexpr std::size_t kExampleRoot = 738;
constexpr std::size_t kExampleSize = 767;

Bytes ExampleAif() {
  return BuildAif(ExampleAifSpec());
}
Bytes ExampleMbm() {
  return BuildMbm(ExampleAifSpec().bitmaps);
}

const std::vector<BitmapSpec>& NewIcons() {
  static const std::vector<BitmapSpec> icons = {{168, 16, 1}, {168, 16, 2},  {328, 24, 3},
                                                {328, 24, 4}, {2088, 64, 5}, {200, 64, 6}};
  return icons;
}

std::string Fatal(std::string_view kindAndPlace, std::string_view message) {
  return ReportLines(std::string("Pictoswap stopped: ") + std::string(kindAndPlace), message);
}

const std::string kNotAnInteger = "'$' is not a valid integer value";
std::string DamagedMbm() {
  return Fatal("damaged output refused while extracting the bitmaps of name.aif",
               "the bitmaps of name.aif do not end where its captions begin, so ext.mbm was not "
               "written");
}
std::string DamagedAif() {
  return Fatal("damaged output refused while checking name.aif",
               "the captions, extra items or root stream of name.aif cannot be carried over "
               "intact, so out.aif was not written");
}

// --- Named cases through the real binary: exact messages, status and files. ---

struct MalformedCase {
  std::string name;
  Bytes aif;                      // written as name.aif
  std::vector<std::string> args;  // new.mbm (three new icons) is there too
  int status;
  std::string out;
  std::string err;
  std::map<std::string, Bytes> written;  // files the run must leave besides the inputs
};

const std::vector<std::string> kExtractAndRebuild = {"-iname", "-sext", "-lext", "-oout"};
const std::vector<std::string> kRebuild = {"-iname", "-lnew", "-oout"};

Bytes ExampleWith(const std::function<void(Bytes&)>& change) {
  Bytes aif = ExampleAif();
  change(aif);
  return aif;
}

std::vector<MalformedCase> MalformedCases() {
  const std::string opened = Banner() + Opened("name.aif");
  const std::string extractFatal = "conversion error while extracting the bitmaps of name.aif";
  const std::string scanFatal = Fatal(
      "caption scan error while reading the root stream of name.aif",
      "the caption count of name.aif was not found: the backward scan reached the start of its "
      "root stream");

  AifSpec manyBitmaps = ExampleAifSpec();
  manyBitmaps.bitmaps = IconBitmaps(255, 24);
  AifSpec manyCaptions = ExampleAifSpec();
  manyCaptions.captions.clear();
  for (int k = 1; k <= 127; ++k) {
    CaptionSpec caption;
    caption.text = std::to_string(k);
    caption.text += 'c';
    manyCaptions.captions.push_back(caption);
  }

  // A marker on the second digit of a byte: the root stream 00 21 40 00 00 00 has no captions,
  // and the count read before the marker straddles two bytes ("02"), so two bitmaps are walked
  // from byte 20, the first of which is 0x402100 bytes long: past the end of the file.
  const Bytes oddMarker = FromHex("37000010 6A000010 00000000 12345678 14000000 002140000000 1800");

  std::vector<MalformedCase> cases = {
      {"a text file",
       BytesOf("This is not an AIF file, only a line of text.\n"),
       {"-iname", "-sext"},
       1,
       opened,
       DamagedMbm(),
       {}},
      {"a text file, no MBM asked",
       BytesOf("This is not an AIF file, only a line of text.\n"),
       kRebuild,
       1,
       opened + Opened("new.mbm"),
       scanFatal,
       {}},
      {"an empty file", {}, kExtractAndRebuild, 1, opened, Fatal(extractFatal, kNotAnInteger), {}},
      {"an MBM given as the AIF",
       BuildMbm(IconBitmaps(2)),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"cut inside the header",
       Truncated(ExampleAif(), 10),
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, kNotAnInteger),
       {}},
      {"cut inside the root offset",
       Truncated(ExampleAif(), 18),
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, "'$\r\n02E2' is not a valid integer value"),
       {}},
      {"cut inside a bitmap",
       Truncated(ExampleAif(), 100),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"cut inside a bitmap, no MBM asked",
       Truncated(ExampleAif(), 100),
       kRebuild,
       1,
       opened + Opened("new.mbm"),
       scanFatal,
       {}},
      {"cut inside the caption",
       Truncated(ExampleAif(), kExampleCaption + 3),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"cut inside the extra item",
       Truncated(ExampleAif(), kExampleExtra + 4),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      // The window is then the last digit and the carriage return, read as the count "4\r".
      {"cut where the root stream starts",
       Truncated(ExampleAif(), kExampleRoot),
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, "'$00004\r' is not a valid integer value"),
       {}},
      {"cut inside the caption table",
       Truncated(ExampleAif(), kExampleRoot + 4),
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, kNotAnInteger),
       {}},
      {"cut inside the icon table",
       Truncated(ExampleAif(), kExampleRoot + 12),
       kExtractAndRebuild,
       1,
       opened + Created("ext.mbm") + Opened("ext.mbm"),
       DamagedAif(),
       {{"ext.mbm", ExampleMbm()}}},
      // Its offset field is whole, and the rest of the root stream is carried as it stands.
      {"cut inside the extras table",
       Truncated(ExampleAif(), kExampleSize - 3),
       kExtractAndRebuild,
       0,
       opened + Created("ext.mbm") + Opened("ext.mbm") + Created("out.aif"),
       "",
       {{"ext.mbm", ExampleMbm()}, {"out.aif", Truncated(ExampleAif(), kExampleSize - 3)}}},
      {"cut inside the extras table's offset field",
       Truncated(ExampleAif(), kExampleSize - 5),
       kExtractAndRebuild,
       1,
       opened + Created("ext.mbm") + Opened("ext.mbm"),
       DamagedAif(),
       {{"ext.mbm", ExampleMbm()}}},
      {"a zero-length bitmap",
       ExampleWith([](Bytes& a) { PutLe32(a, 180, 0); }),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"a zero-length bitmap, no MBM asked",
       ExampleWith([](Bytes& a) { PutLe32(a, 180, 0); }),
       kRebuild,
       1,
       opened + Opened("new.mbm"),
       DamagedAif(),
       {}},
      {"the last size field points past the end",
       ExampleWith([](Bytes& a) { PutLe32(a, 564, 0x00FFFFFF); }),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"a middle size field points past the end",
       ExampleWith([](Bytes& a) { PutLe32(a, 180, 0x00FFFFFF); }),
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, kNotAnInteger),
       {}},
      {"root offset 0",
       ExampleWith([](Bytes& a) { PutLe32(a, 16, 0); }),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"root offset 0, no MBM asked",
       ExampleWith([](Bytes& a) { PutLe32(a, 16, 0); }),
       kRebuild,
       1,
       opened + Opened("new.mbm"),
       DamagedAif(),
       {}},
      {"root offset one past the end",
       ExampleWith([](Bytes& a) { PutLe32(a, 16, kExampleSize + 1); }),
       kExtractAndRebuild,
       1,
       opened,
       DamagedMbm(),
       {}},
      {"root offset one past the end, no MBM asked",
       ExampleWith([](Bytes& a) { PutLe32(a, 16, kExampleSize + 1); }),
       kRebuild,
       1,
       opened + Opened("new.mbm"),
       scanFatal,
       {}},
      {"a marker on the second digit of a byte",
       oddMarker,
       kExtractAndRebuild,
       1,
       opened,
       Fatal(extractFatal, kNotAnInteger),
       {}},
      {"255 bitmaps",
       BuildAif(manyBitmaps),
       kExtractAndRebuild,
       0,
       opened + Created("ext.mbm") + Opened("ext.mbm") + Created("out.aif"),
       "",
       {{"ext.mbm", BuildMbm(manyBitmaps.bitmaps)}, {"out.aif", BuildAif(manyBitmaps)}}},
      {"127 captions",
       BuildAif(manyCaptions),
       kExtractAndRebuild,
       0,
       opened + Created("ext.mbm") + Opened("ext.mbm") + Created("out.aif"),
       "",
       {{"ext.mbm", ExampleMbm()}, {"out.aif", BuildAif(manyCaptions)}}},
  };
  return cases;
}

TEST(MalformedSource, EachCaseEndsWithItsOwnMessagesAndFiles) {
  for (const MalformedCase& c : MalformedCases()) {
    TempDir dir;
    dir.Write("name.aif", c.aif);
    dir.Write("new.mbm", BuildMbm(NewIcons()));
    const ToolRun run = RunTool(dir.path(), c.args);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.out, c.out) << c.name;
    EXPECT_EQ(run.err, c.err) << c.name;
    std::vector<std::string> names = {"name.aif", "new.mbm"};
    for (const auto& [file, bytes] : c.written) {
      names.push_back(file);
      if (dir.Exists(file)) {
        EXPECT_EQ(dir.Read(file), bytes) << c.name << ": " << file;
      }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.Names(), names) << c.name;
    EXPECT_EQ(dir.Read("name.aif"), c.aif) << c.name;
    EXPECT_EQ(dir.Read("new.mbm"), BuildMbm(NewIcons())) << c.name;
  }
}

// A replacement whose trailer offset is below 20 is shorter than the offset field it starts
// with; the new AIF's root offset must still name where its root stream is.
TEST(MalformedReplacement, ATrailerOffsetBelow20StillGivesARootOffsetAtTheRootStream) {
  for (std::uint32_t trailer : {0u, 16u, 18u, 19u}) {
    TempDir dir;
    dir.Write("name.aif", ExampleAif());
    Bytes mbm = BuildMbm(NewIcons());
    PutLe32(mbm, 16, trailer);
    dir.Write("new.mbm", mbm);
    const ToolRun run = RunTool(dir.path(), kRebuild);
    const std::string label = "trailer offset " + std::to_string(trailer);
    ASSERT_EQ(run.status, 0) << label << run.err;
    const Bytes out = dir.Read("out.aif");
    const std::uint32_t root = Le32At(out, 16);
    // Nothing of the replacement is taken as bitmaps: the caption and the extra item follow the
    // root offset field directly, and the root stream after them.
    EXPECT_EQ(root, 20u + 6u + 8u) << label;
    EXPECT_EQ(out.at(root), 0x02) << label << ": the caption count byte";
    EXPECT_EQ(Bytes(out.begin() + 20, out.begin() + 26), FromHex("14436C6F636B")) << label;
  }
}

// --- Sweeps in-process: every byte of the example flipped, every length cut. ---

// A folder in memory when there is one, so that the many saves of a sweep stay fast.
class SweepDir {
 public:
  SweepDir() {
    const fs::path shm = "/dev/shm";
    std::error_code ignored;
    std::string pattern = ((fs::is_directory(shm, ignored) ? shm : fs::temp_directory_path()) /
                           "pictoswap-sweep-XXXXXX")
                              .string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~SweepDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  void Clear() const {
    for (const auto& entry : fs::directory_iterator(path_)) fs::remove(entry.path());
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path path_;
};

struct InProcessRun {
  int status;
  std::string out;
  std::string err;
};

InProcessRun RunInProcess(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunConversion(args, Console{out, err});
  return {status, out.str(), err.str()};
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The outcomes a sweep counts, by the first line of the report.
struct Tally {
  std::map<std::string, int> counts;
  void Add(const InProcessRun& run) {
    if (run.status == 0) {
      ++counts["exit 0"];
    } else {
      ++counts["exit 1, " + run.err.substr(0, run.err.find(" while "))];
    }
  }
  std::string Text() const {
    std::string text;
    for (const auto& [what, count] : counts)
      text += "  " + what + ": " + std::to_string(count) + "\n";
    return text;
  }
};

// A source damaged in any way, extracted and rebuilt from its own extracted MBM in one run
// (-s and -l name the same file): the run ends cleanly, an MBM that is written describes its own
// bitmaps, and an AIF that is written is the source byte for byte.
void CheckOwnRoundTrip(const SweepDir& dir, const Bytes& aif, const std::string& label,
                       Tally& tally) {
  dir.Clear();
  WriteFile(dir.path() / "name.aif", aif);
  const std::string base = dir.path().string() + "/";
  const InProcessRun run = RunInProcess(
      {"-i" + base + "name", "-s" + base + "ext", "-l" + base + "ext", "-o" + base + "out"});
  tally.Add(run);
  ASSERT_TRUE(run.status == 0 || run.status == 1) << label;
  ASSERT_EQ(run.out.rfind(Banner() + Opened(base + "name.aif"), 0), 0u) << label;
  if (run.status == 0) {
    EXPECT_EQ(run.err, "") << label;
  } else {
    EXPECT_EQ(run.err.rfind("Pictoswap stopped: ", 0), 0u) << label << run.err;
    EXPECT_FALSE(Contains(run.err, "I/O error")) << label << run.err;
  }
  const bool mbmCreated = Contains(run.out, Created(base + "ext.mbm"));
  const bool aifCreated = Contains(run.out, Created(base + "out.aif"));
  std::vector<std::string> names = {"name.aif"};
  if (mbmCreated) names.push_back("ext.mbm");
  if (aifCreated) names.push_back("out.aif");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(dir.Names(), names) << label;
  EXPECT_EQ(ReadFile(dir.path() / "name.aif"), aif) << label;
  if (mbmCreated) {
    const Bytes mbm = ReadFile(dir.path() / "ext.mbm");
    ASSERT_GE(mbm.size(), 24u) << label;
    const std::uint32_t trailer = Le32At(mbm, 16);
    ASSERT_LE(std::size_t{trailer} + 4, mbm.size()) << label;
    EXPECT_EQ(mbm.size(), trailer + 4 + 4 * std::size_t{Le32At(mbm, trailer)}) << label;
  }
  if (aifCreated) {
    EXPECT_EQ(ReadFile(dir.path() / "out.aif"), aif) << label;
  }
}

TEST(MalformedSweep, EveryByteOfTheExampleFlippedEndsCleanly) {
  SweepDir dir;
  Tally tally;
  const Bytes good = ExampleAif();
  ASSERT_EQ(good.size(), kExampleSize);
  for (std::size_t at = 0; at < good.size(); ++at) {
    Bytes aif = good;
    aif[at] ^= 0xFF;
    CheckOwnRoundTrip(dir, aif, "byte " + std::to_string(at) + " flipped", tally);
    if (::testing::Test::HasFatalFailure()) return;
  }
  std::cout << "example with one byte flipped, " << good.size() << " runs:\n" << tally.Text();
}

TEST(MalformedSweep, TheExampleCutAtEveryLengthEndsCleanly) {
  SweepDir dir;
  Tally tally;
  const Bytes good = ExampleAif();
  std::vector<std::size_t> rebuilt;
  for (std::size_t size = 0; size <= good.size(); ++size) {
    CheckOwnRoundTrip(dir, Truncated(good, size), "cut to " + std::to_string(size), tally);
    if (::testing::Test::HasFatalFailure()) return;
    if (fs::exists(dir.path() / "out.aif")) rebuilt.push_back(size);
  }
  // Only cuts after the extras table's offset field leave a file that rebuilds (as itself).
  EXPECT_EQ(rebuilt, (std::vector<std::size_t>{763, 764, 765, 766, 767}));
  std::cout << "example cut at every length, " << good.size() + 1 << " runs:\n" << tally.Text();
}

// The replacement damaged instead: every byte of its header and trailer, and a sample of the
// bitmap bytes. A new AIF that is written keeps the source's header, and its root offset names
// its root stream, which starts with the source's caption count.
TEST(MalformedSweep, AReplacementWithAByteFlippedEndsCleanly) {
  SweepDir dir;
  Tally tally;
  const Bytes good = BuildMbm(NewIcons());
  const std::string base = dir.path().string() + "/";
  const std::size_t trailer = Le32At(good, 16);
  for (std::size_t at = 0; at < good.size(); ++at) {
    const bool structural = at < 40 || at >= trailer || (at - 20) % 7 == 0;
    if (!structural) continue;
    const std::string label = "replacement byte " + std::to_string(at) + " flipped";
    Bytes mbm = good;
    mbm[at] ^= 0xFF;
    dir.Clear();
    WriteFile(dir.path() / "name.aif", ExampleAif());
    WriteFile(dir.path() / "new.mbm", mbm);
    const InProcessRun run =
        RunInProcess({"-i" + base + "name", "-l" + base + "new", "-o" + base + "out"});
    tally.Add(run);
    ASSERT_TRUE(run.status == 0 || run.status == 1) << label;
    if (run.status == 1) {
      EXPECT_EQ(run.err.rfind("Pictoswap stopped: conversion error", 0), 0u) << label << run.err;
    }
    const bool created = Contains(run.out, Created(base + "out.aif"));
    const std::vector<std::string> expected =
        created ? std::vector<std::string>{"name.aif", "new.mbm", "out.aif"}
                : std::vector<std::string>{"name.aif", "new.mbm"};
    EXPECT_EQ(dir.Names(), expected) << label;
    EXPECT_EQ(ReadFile(dir.path() / "name.aif"), ExampleAif()) << label;
    if (created) {
      const Bytes out = ReadFile(dir.path() / "out.aif");
      const Bytes source = ExampleAif();
      EXPECT_TRUE(std::equal(source.begin(), source.begin() + 16, out.begin())) << label;
      const std::uint32_t root = Le32At(out, 16);
      ASSERT_LT(root, out.size()) << label;
      EXPECT_EQ(out[root], 0x02) << label << ": the caption count";
    }
  }
  std::cout << "replacement with one byte flipped:\n" << tally.Text();
}

// --- Time: a run on a file of a few hundred KiB ends well within a second. ---

TEST(MalformedTime, ALargeFileIsHandledWithinASecond) {
  AifSpec big = ExampleAifSpec();
  big.bitmaps = IconBitmaps(255, 1200);
  for (int k = 1; k <= 100; ++k) big.captions.push_back({"Caption " + std::to_string(k), 1});
  const Bytes aif = BuildAif(big);
  ASSERT_GT(aif.size(), 300u * 1024);
  Bytes broken = aif;
  PutLe32(broken, 16, 0);  // the root window is then the whole file
  const Bytes zeros(300 * 1024, 0);
  std::chrono::steady_clock::duration slowest{};
  for (const Bytes& source : {aif, broken, zeros}) {
    TempDir dir;
    dir.Write("name.aif", source);
    const auto started = std::chrono::steady_clock::now();
    const ToolRun run = RunTool(dir.path(), kExtractAndRebuild);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    slowest = std::max(slowest, elapsed);
    EXPECT_LE(run.status, 1);
    // A program that runs the tool (wine for the Windows build) adds its own start-up time.
    const char* runner = std::getenv("PICTOSWAP_TEST_RUNNER");
    if (runner == nullptr || *runner == '\0') {
      EXPECT_LT(elapsed, std::chrono::seconds(1));
    }
    if (source == aif) {
      EXPECT_EQ(dir.Read("out.aif"), aif);
    }
  }
  std::cout << "slowest run on a file of 300 KiB or more: "
            << std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count() << " ms\n";
}

// --- The regression corpus: inputs that once broke a property, replayed on the real tool. ---

// Each file is a run input: an option byte, the source AIF and, after a separator, a replacement
// MBM (the AIF itself when there is none). Whatever they hold, both runs end cleanly and leave
// the source as it was, or replaced only by a run that says it wrote it.
TEST(RegressionCorpus, EachInputEndsCleanlyOnTheRealTool) {
  const fs::path folder = fs::path(PICTOSWAP_SOURCE_DIR) / "tests/corpus/regressions";
  ASSERT_TRUE(fs::is_directory(folder));
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    const Bytes data = ReadFile(entry.path());
    const fuzz::RunInput input =
        fuzz::SplitRunInput({reinterpret_cast<const char*>(data.data()), data.size()});
    const Bytes aif = BytesOf(input.aif);
    const Bytes mbm = input.mbm ? BytesOf(*input.mbm) : aif;
    const std::string name = entry.path().filename().string();
    ++replayed;

    struct Replay {
      std::vector<std::string> args;
      std::vector<std::string> outputs;
    };
    const Replay replays[] = {{{"-iname", "-sext", "-lnew", "-oout"}, {"ext.mbm", "out.aif"}},
                              {{"-iname", "-lnew", "-oname"}, {"name.aif"}}};
    for (const Replay& replay : replays) {
      TempDir dir;
      dir.Write("name.aif", aif);
      dir.Write("new.mbm", mbm);
      const ToolRun run = RunTool(dir.path(), replay.args);
      const std::string label = name + " " + replay.args.back();
      EXPECT_TRUE(run.status == 0 || run.status == 1) << label << ": status " << run.status;
      if (run.status == 1) {
        EXPECT_EQ(run.err.rfind("Pictoswap stopped: ", 0), 0u) << label << run.err;
      } else {
        EXPECT_EQ(run.err, "") << label;
      }
      std::vector<std::string> names = {"name.aif", "new.mbm"};
      for (const std::string& output : replay.outputs) {
        const bool created = Contains(run.out, Created(output));
        if (created && output != "name.aif") names.push_back(output);
        if (!created && output == "name.aif") {
          EXPECT_EQ(dir.Read("name.aif"), aif) << label << ": the source changed";
        }
      }
      if (replay.outputs.front() != "name.aif") {
        EXPECT_EQ(dir.Read("name.aif"), aif) << label;
      }
      std::sort(names.begin(), names.end());
      EXPECT_EQ(dir.Names(), names) << label << ": files left";
    }
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace pictoswap
