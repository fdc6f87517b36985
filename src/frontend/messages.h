// Every word the tool prints on standard output: the catalogue, the banner and the usage block.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pictoswap {

enum class MessageId {
  TITLE,
  ERR1,
  ERR2,
  NOTALL,
  NOAIF,
  RULE,
  PARAMS,
  HELP_I,
  HELP_S,
  HELP_L,
  HELP_O,
  AIF_LOADERR,
  AIF_NOTFOUND,
  STOPPED,
  AIF_OPENED,
  MBM_CREATED,
  MBM_LOADERR,
  MBM_NOTFOUND,
  MBM_OPENED,
  NOCAPTIONS,
  AIF_CREATED,
};

// How a line reaches the console: converted to the OEM code page, or written as it is.
enum class MessagePath { Oem, Plain };

struct Message {
  MessageId id;
  std::string_view text;  // UTF-8 in the source; for a file line, its tail
  MessagePath path;
  bool blankBefore;         // the caller writes an empty line just before it
  std::string_view suffix;  // for a file line, the extension after the base name; else empty
};

const Message& MessageOf(MessageId id);

// One console line before encoding: its text in UTF-8 pieces with the base name kept apart, so
// that the platform converts the catalogue text and the name each as it must.
struct ConsoleLine {
  std::string_view text;  // the catalogue text, or a file line's tail
  MessagePath path = MessagePath::Plain;
  bool isFileLine = false;
  std::string_view name;    // for a file line: the base name as given on the command line
  std::string_view suffix;  // for a file line: ".aif" or ".mbm"
};

ConsoleLine LineOf(MessageId id, std::string_view baseName = {});
ConsoleLine EmptyLine();

// The banner: two empty lines, the title and the four maker lines.
std::vector<ConsoleLine> BannerLines();
// The usage block: an empty line, the rule, the parameters heading and the four option lines.
std::vector<ConsoleLine> UsageLines();

}  // namespace pictoswap
