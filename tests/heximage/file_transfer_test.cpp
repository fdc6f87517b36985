#include "heximage/file_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace pictoswap {
namespace {

using testing::Bytes;
using testing::TempDir;

Bytes AllByteValues() {
  Bytes bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<std::uint8_t>(b));
  return bytes;
}

TEST(FileTransfer, LoadThenSaveReproducesAnyFile) {
  const Bytes files[] = {{}, {0x00}, {0xFF}, AllByteValues()};
  for (const Bytes& original : files) {
    TempDir dir;
    dir.Write("in.bin", original);
    HexImage image;
    ASSERT_TRUE(LoadHexImage(image, (dir / "in.bin").string()));
    EXPECT_EQ(image.text.size(), 2 * original.size() + 2);
    ASSERT_TRUE(SaveHexImage(image, (dir / "out.bin").string()).ok());
    EXPECT_EQ(dir.Read("out.bin"), original);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"in.bin", "out.bin"}));
  }
}

TEST(FileTransfer, AnEmptyFileLoadsAsAnEmptyLine) {
  TempDir dir;
  dir.Write("empty.aif", {});
  HexImage image;
  SetImageLine(image, "ABCD");
  ASSERT_TRUE(LoadHexImage(image, (dir / "empty.aif").string()));
  EXPECT_EQ(image.text, "\r\n");
}

TEST(FileTransfer, MissingFilesDirectoriesAndLongNamesDoNotLoad) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder.aif");
  HexImage image;
  SetImageLine(image, "ABCD");
  EXPECT_FALSE(LoadHexImage(image, (dir / "missing.aif").string()));
  EXPECT_EQ(image.text, "\r\n");  // cleared before the open
  EXPECT_FALSE(LoadHexImage(image, (dir / "folder.aif").string()));
  EXPECT_FALSE(LoadHexImage(image, (dir / std::string(5000, 'n')).string()));
}

TEST(FileTransfer, AFailedSaveLeavesTheTargetAndNoTemporaryFile) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder.aif");
  dir.Write("kept.aif", {1, 2, 3});
  HexImage image = ImageFromBytes({9, 9});
  const std::string targets[] = {
      (dir / "no-such-folder" / "out.aif").string(),
      (dir / "folder.aif").string(),
      (dir / (std::string(5000, 'n') + ".aif")).string(),
  };
  for (const std::string& target : targets) {
    const Status saved = SaveHexImage(image, target);
    ASSERT_FALSE(saved.ok()) << target;
    EXPECT_EQ(saved.error().kind, FatalKind::Io);
  }
  // A text that does not convert writes nothing over an existing file.
  HexImage odd;
  SetImageLine(odd, "0A0");
  const Status saved = SaveHexImage(odd, (dir / "kept.aif").string());
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().kind, FatalKind::Conversion);
  EXPECT_EQ(dir.Read("kept.aif"), (Bytes{1, 2, 3}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder.aif", "kept.aif"}));
}

TEST(FileTransfer, FilesLargerThanAWriteChunkRoundTrip) {
  // Sizes around the 64 KiB chunk the save converts at a time, and one spanning several.
  for (const std::size_t size : {std::size_t{65535}, std::size_t{65536}, std::size_t{200001}}) {
    Bytes original(size);
    for (std::size_t i = 0; i < size; ++i) original[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    TempDir dir;
    dir.Write("in.bin", original);
    HexImage image;
    ASSERT_TRUE(LoadHexImage(image, (dir / "in.bin").string()));
    ASSERT_EQ(image.text, testing::Hex(original) + "\r\n");
    ASSERT_TRUE(SaveHexImage(image, (dir / "out.bin").string()).ok());
    EXPECT_EQ(dir.Read("out.bin"), original) << size;
  }
}

TEST(FileTransfer, PiecesSaveAsTheirJoinedLine) {
  struct Case {
    std::vector<std::string_view> pieces;
    Bytes bytes;          // written when the pieces convert
    std::string failure;  // else the conversion message
  };
  const std::string longPiece = testing::Hex(Bytes(70000, 0xC3)) + "1";
  const Case cases[] = {
      {{}, {}, ""},
      {{"0", "A0", "B", "", "0C"}, {0x0A, 0x0B, 0x0C}, ""},  // pairs spanning pieces
      {{"0a", "0B"}, {0x0A, 0x0B}, ""},
      {{longPiece, "2"},
       [] {
         Bytes b(70000, 0xC3);
         b.push_back(0x12);
         return b;
       }(),
       ""},
      {{"0A", "0"}, {}, "'$0\r' is not a valid integer value"},  // odd: the last digit and CR
      {{"0A", "G1"}, {}, "'$G1' is not a valid integer value"},
      {{"0", "\r\n"}, {}, "'$0\r' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const Status saved = SaveHexPieces(c.pieces, (dir / "out.aif").string());
    if (c.failure.empty()) {
      ASSERT_TRUE(saved.ok()) << saved.error().message;
      EXPECT_EQ(dir.Read("out.aif"), c.bytes);
    } else {
      ASSERT_FALSE(saved.ok());
      EXPECT_EQ(saved.error().message, c.failure);
      EXPECT_TRUE(dir.Names().empty());  // the temporary file is gone too
    }
  }
}

TEST(FileTransfer, AConversionErrorWinsOverAFileThatCannotBeMade) {
  TempDir dir;
  HexImage odd;
  SetImageLine(odd, std::string(200000, 'A') + "0");  // the bad pair lies past the first chunk
  const Status saved = SaveHexImage(odd, (dir / "no-such-folder" / "out.aif").string());
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().kind, FatalKind::Conversion);
}

TEST(FileTransfer, SavingReplacesAnExistingFile) {
  TempDir dir;
  dir.Write("out.aif", Bytes(100, 7));
  ASSERT_TRUE(SaveHexImage(ImageFromBytes({1}), (dir / "out.aif").string()).ok());
  EXPECT_EQ(dir.Read("out.aif"), Bytes{1});
}

}  // namespace
}  // namespace pictoswap
