#include "deffile/definition_check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "deffile/definition_lines.h"
#include "deffile/definition_text_table.h"
#include "deffile/text_mode_reader.h"

#if defined(__GNUC__) && !defined(_WIN32)
#define VX_PRINTF_LIKE(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define VX_PRINTF_LIKE(fmt, first)
#endif

namespace vx {
namespace {

constexpr std::size_t PIECE_LIMIT = DEFINITION_LINE_SIZE - 1;

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool IsInvalidSingleByte(unsigned char b) { return b == 0x80 || b == 0xA0 || b >= 0xFD; }

bool StartsWith(const char* bytes, std::size_t count, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  return count >= length && std::memcmp(bytes, prefix, length) == 0;
}

// One read of the loader, and where it stands in the file.
struct Piece {
  char bytes[DEFINITION_LINE_SIZE];
  std::size_t count = 0;
  std::uint64_t line = 0;
  bool continuation = false;  // the line was cut at 255 bytes just before this piece
  bool cutCharacter = false;  // ... and the cut fell inside a double-byte character
};

class Checker {
 public:
  Checker(ByteSource& source, CheckReport& report) : reader_(source), report_(report) {}
  CheckSummary Run();

 private:
  bool Next(Piece& piece, bool scan = true);
  void ScanBytes(const Piece& piece);
  void Report(std::uint64_t line, CheckFinding kind, const char* format, ...) VX_PRINTF_LIKE(4, 5);
  bool CheckHeader(const Piece& piece);
  void CheckFolder(const Piece& piece, const char* line);
  void CheckText(const Piece& label, const Piece& text, const char* textLine);
  void NoteContinuation(const Piece& piece, const char* role);
  void CheckRestAfterLimit(CheckFinding kind, const char* what);
  CheckSummary Finish(bool tellEndMark = true);

  TextModeReader reader_;
  CheckReport& report_;
  CheckSummary summary_;
  bool levelHasFolder_[MAX_FOLDER_DEPTH] = {};
  // Where the next read starts, and what the physical line holds so far.
  std::uint64_t nextLine_ = 1;
  bool midLine_ = false;
  bool lineCutCharacter_ = false;
  std::uint64_t column_ = 0;
  bool pendingLead_ = false;
  unsigned char leadByte_ = 0;
  std::uint64_t leadColumn_ = 0;
  bool lineEncodingReported_ = false;
  bool lineNulReported_ = false;
  std::uint64_t splitReportedLine_ = 0;
};

void Checker::Report(std::uint64_t line, CheckFinding kind, const char* format, ...) {
  char message[400];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  ++summary_.findings;
  report_.Finding(line, kind, message);
}

bool Checker::Next(Piece& piece, bool scan) {
  piece.count = reader_.ReadLine(piece.bytes, sizeof piece.bytes);
  if (piece.count == 0) {
    if (pendingLead_ && !lineEncodingReported_)
      Report(nextLine_, CheckFinding::InvalidCp932,
             "byte %llu: 0x%02X starts a double-byte character that the file ends in",
             static_cast<unsigned long long>(leadColumn_), leadByte_);
    pendingLead_ = false;
    return false;
  }
  piece.line = nextLine_;
  piece.continuation = midLine_;
  piece.cutCharacter = midLine_ && lineCutCharacter_;
  if (scan) ScanBytes(piece);
  if (piece.bytes[piece.count - 1] == '\n') {
    ++nextLine_;
    midLine_ = lineCutCharacter_ = pendingLead_ = false;
    column_ = 0;
    lineEncodingReported_ = lineNulReported_ = false;
  } else {
    midLine_ = piece.count == PIECE_LIMIT;
    lineCutCharacter_ = pendingLead_;
  }
  return true;
}

// Encoding is judged over the whole physical line, across the 255-byte cuts.
void Checker::ScanBytes(const Piece& piece) {
  for (std::size_t i = 0; i < piece.count; ++i) {
    const auto b = static_cast<unsigned char>(piece.bytes[i]);
    const std::uint64_t column = column_ + i + 1;
    if (pendingLead_) {
      pendingLead_ = false;
      if (b != '\n' && IsTrailByte(b)) continue;
      if (!lineEncodingReported_) {
        lineEncodingReported_ = true;
        Report(piece.line, CheckFinding::InvalidCp932,
               "byte %llu: 0x%02X 0x%02X is not a code page 932 character",
               static_cast<unsigned long long>(leadColumn_), leadByte_, b);
      }
    }
    if (b == '\0') {
      if (!lineNulReported_) {
        lineNulReported_ = true;
        Report(piece.line, CheckFinding::NulByte,
               "byte %llu: a NUL byte; the loader reads the line only up to it",
               static_cast<unsigned long long>(column));
      }
    } else if (IsLeadByte(b)) {
      pendingLead_ = true;
      leadByte_ = b;
      leadColumn_ = column;
    } else if (IsInvalidSingleByte(b) && !lineEncodingReported_) {
      lineEncodingReported_ = true;
      Report(piece.line, CheckFinding::InvalidCp932, "byte %llu: 0x%02X is not valid code page 932",
             static_cast<unsigned long long>(column), b);
    }
  }
  column_ += piece.count;
}

bool Checker::CheckHeader(const Piece& piece) {
  if (IsDefinitionHeaderLine(piece.bytes, piece.count)) return true;
  const char* reason = "the first line is not the header line";
  const std::size_t headerLength = std::strlen(DEFINITION_HEADER);
  const bool byteOrderMark = StartsWith(piece.bytes, piece.count, "\xEF\xBB\xBF");
  if (StartsWith(piece.bytes + (byteOrderMark ? 3 : 0), piece.count - (byteOrderMark ? 3 : 0),
                 DEFINITION_HEADER_UTF8)) {
    Report(1, CheckFinding::Utf8File, "the file is in UTF-8%s; the loader reads only code page 932 and ignores it",
           byteOrderMark ? " with a byte-order mark" : "");
    return false;
  }
  if (piece.count == 0) {
    reason = "the file is empty";
  } else if (byteOrderMark) {
    reason = "the file starts with a UTF-8 byte-order mark";
  } else if (StartsWith(piece.bytes, piece.count, "\xFF\xFE") ||
             StartsWith(piece.bytes, piece.count, "\xFE\xFF")) {
    reason = "the file is UTF-16; it must be code page 932";
  } else if (StartsWith(piece.bytes, piece.count, DEFINITION_HEADER)) {
    const char* rest = piece.bytes + headerLength;
    const std::size_t restCount = piece.count - headerLength;
    const std::size_t blanks = std::strspn(rest, " \t");
    if (restCount == 0) {
      reason = "the header line has no line end";
    } else if (blanks > 0 && (blanks == restCount || rest[blanks] == '\n')) {
      reason = "blanks follow the header on its line";
    } else {
      reason = "other text follows the header on its line";
    }
  }
  Report(1, CheckFinding::HeaderMismatch, "%s; the loader ignores the whole file", reason);
  return false;
}

void Checker::NoteContinuation(const Piece& piece, const char* role) {
  if (!piece.continuation || splitReportedLine_ == piece.line) return;
  splitReportedLine_ = piece.line;
  const char* cut = piece.cutCharacter ? " (the cut splits a double-byte character)" : "";
  if (piece.count == 1 && piece.bytes[0] == '\n') {
    Report(piece.line, CheckFinding::LineSplit,
           "the line is exactly 255 bytes long, so its line end is read alone as %s", role);
  } else {
    Report(piece.line, CheckFinding::LineSplit,
           "the line is longer than 255 bytes; the loader cuts it there and reads the rest as %s%s", role,
           cut);
  }
}

void Checker::CheckFolder(const Piece& piece, const char* line) {
  const FolderLine folder = SplitFolderLine(line);
  if (folder.caption[0] == '.')
    Report(piece.line, CheckFinding::ExtraDots,
           "only %d leading dots count; the caption starts with the dots after them", MAX_FOLDER_DEPTH);
  if (folder.level > 0 && !levelHasFolder_[folder.level - 1])
    Report(piece.line, CheckFinding::FolderAtTopLevel,
           "folder of level %d goes to the top level: no folder of level %d comes before it", folder.level,
           folder.level - 1);
  levelHasFolder_[folder.level] = true;
  ++summary_.folders;
}

void Checker::CheckText(const Piece& label, const Piece& text, const char* textLine) {
  const unsigned long long labelLine = label.line;
  if (text.continuation) return;  // the cut is what the author needs to hear about
  if (textLine[0] == '\0') {
    Report(text.line, CheckFinding::EmptyText,
           "empty line read as the text of the label on line %llu; the entry inserts nothing", labelLine);
  } else if (textLine[0] == '.') {
    Report(text.line, CheckFinding::TextLooksLikeFolder,
           "looks like a folder line but is read as the text of the label on line %llu", labelLine);
  } else if (std::strpbrk(textLine, "<&") == nullptr) {
    Report(text.line, CheckFinding::TextLooksLikeLabel,
           "holds no HTML but is read as the text of the label on line %llu; if it is a label, that one "
           "lacks its text",
           labelLine);
  }
}

// The loader stops reading at the 3000th entry or folder; say so if anything follows.
void Checker::CheckRestAfterLimit(CheckFinding kind, const char* what) {
  Piece piece;
  while (Next(piece)) {
    RemoveLineEnd(piece.bytes);
    if (piece.bytes[0] == '\0') continue;
    Report(piece.line, kind, "the loader stops after %d %s and ignores this line and all after it",
           kind == CheckFinding::FoldersBeyondLimit ? MAX_DEFINITION_FOLDERS : MAX_DEFINITION_TEXTS, what);
    return;
  }
}

// What follows a 0x1A in the block that held it is told; nothing more is
// read, since the loader reads nothing more.
CheckSummary Checker::Finish(bool tellEndMark) {
  summary_.readFailed = reader_.SourceFailed();
  if (tellEndMark && reader_.StoppedAtEndMark() && reader_.BytesSeenAfterEndMark() > 0)
    Report(nextLine_, CheckFinding::BytesAfterEndMark,
           "a 0x1A byte ends the file here; the loader reads nothing after it");
  return summary_;
}

CheckSummary Checker::Run() {
  Piece piece;
  Next(piece, false);  // a file in another encoding is told once, by the header
  // A file that cannot be read says nothing about its content.
  if (reader_.SourceFailed()) return Finish();
  if (!CheckHeader(piece)) return Finish(false);
  summary_.headerMatches = true;
  while (Next(piece)) {
    RemoveLineEnd(piece.bytes);
    if (piece.bytes[0] == '\0') continue;  // empty lines, the lone LF after a 255-byte line among them
    if (piece.bytes[0] == '.') {
      NoteContinuation(piece, "a folder line");
      CheckFolder(piece, piece.bytes);
      if (summary_.folders == static_cast<std::uint64_t>(MAX_DEFINITION_FOLDERS)) {
        CheckRestAfterLimit(CheckFinding::FoldersBeyondLimit, "folders");
        return Finish(false);
      }
    } else {
      NoteContinuation(piece, "a label");
      Piece text;
      if (Next(text)) {
        NoteContinuation(text, "the text of the label before it");
        RemoveLineEnd(text.bytes);
        CheckText(piece, text, text.bytes);
      } else {
        Report(piece.line, CheckFinding::LabelWithoutText,
               "the label ends the file without a text line; its entry inserts nothing");
      }
      if (++summary_.entries == static_cast<std::uint64_t>(MAX_DEFINITION_TEXTS)) {
        CheckRestAfterLimit(CheckFinding::EntriesBeyondLimit, "entries");
        return Finish(false);
      }
    }
  }
  return Finish();
}

}  // namespace

CheckSummary CheckDefinitionStream(ByteSource& source, CheckReport& report) {
  Checker checker(source, report);
  return checker.Run();
}

}  // namespace vx
