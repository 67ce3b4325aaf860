#include "deffile/definition_check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "deffile/cp932_codec.h"
#include "deffile/definition_text_table.h"
#include "deffile/definition_walker.h"

#if defined(__GNUC__) && !defined(_WIN32)
#define VX_PRINTF_LIKE(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define VX_PRINTF_LIKE(fmt, first)
#endif

namespace vx {
namespace {

// What the walk is told a folder became: the checker makes none, but its
// children must still find one at its level.
constexpr DefinitionItem CHECKED_FOLDER = 1;

bool StartsWith(const char* bytes, std::size_t count, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  return count >= length && std::memcmp(bytes, prefix, length) == 0;
}

class Checker final : public DefinitionVisitor {
 public:
  Checker(ByteSource& source, CheckReport& report) : source_(source), report_(report) {}
  CheckSummary Run();

  void Read(const DefinitionPiece& piece) override;
  bool Header(const DefinitionPiece& piece, bool matches) override;
  DefinitionItem Folder(const DefinitionPiece& piece, int level, const char* caption, DefinitionItem parent) override;
  void Label(const DefinitionPiece& label) override { NoteContinuation(label, "a label"); }
  void Entry(const DefinitionPiece& label, const DefinitionPiece* text, int, DefinitionItem) override;
  bool ReadsPastLimit() const override { return true; }
  void PastLimit(const DefinitionPiece& piece, DefinitionLimit limit) override;
  void EndOfFile(std::uint64_t line) override;

 private:
  void ScanBytes(const DefinitionPiece& piece);
  void Report(std::uint64_t line, CheckFinding kind, const char* format, ...) VX_PRINTF_LIKE(4, 5);
  void ReportHeader(const DefinitionPiece& piece);
  void NoteContinuation(const DefinitionPiece& piece, const char* role);
  void CheckText(const DefinitionPiece& label, const DefinitionPiece& text);

  ByteSource& source_;
  CheckReport& report_;
  CheckSummary summary_;
  bool scanning_ = false;       // the header matched: the lines after it are judged
  bool unreadable_ = false;     // the first read failed: nothing to judge
  std::uint64_t endLine_ = 1;
  // What the physical line being read holds so far; the encoding is judged
  // over the whole line, across the 255-byte cuts.
  std::uint64_t column_ = 0;
  bool pendingLead_ = false;
  unsigned char leadByte_ = 0;
  std::uint64_t leadColumn_ = 0;
  bool cutCharacter_ = false;  // the last read began inside a double-byte character
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

// A file in another encoding is told once, by the header, so its first read
// is not scanned.
void Checker::Read(const DefinitionPiece& piece) {
  if (!scanning_) return;
  cutCharacter_ = piece.continuation && pendingLead_;
  ScanBytes(piece);
  if (piece.endsLine) {
    column_ = 0;
    pendingLead_ = lineNulReported_ = false;
  }
}

void Checker::EndOfFile(std::uint64_t line) {
  endLine_ = line;
  if (scanning_ && pendingLead_)
    Report(line, CheckFinding::InvalidCp932, "byte %llu: 0x%02X starts a double-byte character that the file ends in",
           static_cast<unsigned long long>(leadColumn_), leadByte_);
  pendingLead_ = false;
}

// Every byte sequence that "vxtags convert --to-utf8" refuses is told, in its
// words, since both judge by the same table.
void Checker::ScanBytes(const DefinitionPiece& piece) {
  for (std::size_t i = 0; i < piece.count; ++i) {
    const auto b = static_cast<unsigned char>(piece.bytes[i]);
    const std::uint64_t column = column_ + i + 1;
    if (pendingLead_) {
      pendingLead_ = false;
      if (Cp932DoubleByte(leadByte_, b) != 0) continue;
      const auto leadColumn = static_cast<unsigned long long>(leadColumn_);
      if (IsCp932TrailByte(b)) {
        Report(piece.line, CheckFinding::InvalidCp932, "byte %llu: 0x%02X 0x%02X is not a code page 932 character",
               leadColumn, leadByte_, b);
        continue;
      }
      // A byte that is no trail byte starts afresh.
      Report(piece.line, CheckFinding::InvalidCp932, "byte %llu: 0x%02X %s", leadColumn, leadByte_,
             b == '\n' ? "starts a double-byte character that the line ends in" : "is not a code page 932 character");
    }
    if (b == '\0') {
      if (!lineNulReported_) {
        lineNulReported_ = true;
        Report(piece.line, CheckFinding::NulByte, "byte %llu: a NUL byte; the loader reads the line only up to it",
               static_cast<unsigned long long>(column));
      }
    } else if (IsCp932LeadByte(b)) {
      pendingLead_ = true;
      leadByte_ = b;
      leadColumn_ = column;
    } else if (!IsCp932SingleByte(b)) {
      Report(piece.line, CheckFinding::InvalidCp932, "byte %llu: 0x%02X is not a code page 932 character",
             static_cast<unsigned long long>(column), b);
    }
  }
  column_ += piece.count;
}

bool Checker::Header(const DefinitionPiece& piece, bool matches) {
  // A file that cannot be read says nothing about its content.
  if (source_.Failed()) {
    unreadable_ = true;
    return false;
  }
  if (!matches) {
    ReportHeader(piece);
    return false;
  }
  scanning_ = true;
  return true;
}

void Checker::ReportHeader(const DefinitionPiece& piece) {
  const char* reason = "the first line is not the header line";
  const std::size_t headerLength = std::strlen(DEFINITION_HEADER);
  const bool byteOrderMark = StartsWith(piece.bytes, piece.count, "\xEF\xBB\xBF");
  if (StartsWith(piece.bytes + (byteOrderMark ? 3 : 0), piece.count - (byteOrderMark ? 3 : 0),
                 DEFINITION_HEADER_UTF8)) {
    Report(1, CheckFinding::Utf8File, "the file is in UTF-8%s; the loader reads only code page 932 and ignores it",
           byteOrderMark ? " with a byte-order mark" : "");
    return;
  }
  if (piece.count == 0) {
    reason = "the file is empty";
  } else if (byteOrderMark) {
    reason = "the file starts with a UTF-8 byte-order mark";
  } else if (StartsWith(piece.bytes, piece.count, "\xFF\xFE") || StartsWith(piece.bytes, piece.count, "\xFE\xFF")) {
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
}

void Checker::NoteContinuation(const DefinitionPiece& piece, const char* role) {
  if (!piece.continuation || splitReportedLine_ == piece.line) return;
  splitReportedLine_ = piece.line;
  const char* cut = cutCharacter_ ? " (the cut splits a double-byte character)" : "";
  if (piece.IsLoneLineEnd()) {
    Report(piece.line, CheckFinding::LineSplit,
           "the line is exactly 255 bytes long, so its line end is read alone as %s", role);
  } else {
    Report(piece.line, CheckFinding::LineSplit,
           "the line is longer than 255 bytes; the loader cuts it there and reads the rest as %s%s", role, cut);
  }
}

DefinitionItem Checker::Folder(const DefinitionPiece& piece, int level, const char* caption, DefinitionItem parent) {
  NoteContinuation(piece, "a folder line");
  if (caption[0] == '.')
    Report(piece.line, CheckFinding::ExtraDots,
           "only %d leading dots count; the caption starts with the dots after them", MAX_FOLDER_DEPTH);
  if (level > 0 && parent == 0)
    Report(piece.line, CheckFinding::FolderAtTopLevel,
           "folder of level %d goes to the top level: no folder of level %d comes before it", level, level - 1);
  return CHECKED_FOLDER;
}

void Checker::Entry(const DefinitionPiece& label, const DefinitionPiece* text, int, DefinitionItem) {
  if (text == nullptr) {
    Report(label.line, CheckFinding::LabelWithoutText,
           "the label ends the file without a text line; its entry inserts nothing");
    return;
  }
  NoteContinuation(*text, "the text of the label before it");
  CheckText(label, *text);
}

void Checker::CheckText(const DefinitionPiece& label, const DefinitionPiece& text) {
  const unsigned long long labelLine = label.line;
  if (text.continuation) return;  // the cut is what the author needs to hear about
  if (text.bytes[0] == '\0') {
    Report(text.line, CheckFinding::EmptyText,
           "empty line read as the text of the label on line %llu; the entry inserts nothing", labelLine);
  } else if (text.bytes[0] == '.') {
    Report(text.line, CheckFinding::TextLooksLikeFolder,
           "looks like a folder line but is read as the text of the label on line %llu", labelLine);
  } else if (std::strpbrk(text.bytes, "<&") == nullptr) {
    Report(text.line, CheckFinding::TextLooksLikeLabel,
           "holds no HTML but is read as the text of the label on line %llu; if it is a label, that one "
           "lacks its text",
           labelLine);
  }
}

void Checker::PastLimit(const DefinitionPiece& piece, DefinitionLimit limit) {
  const bool folders = limit == DefinitionLimit::Folders;
  Report(piece.line, folders ? CheckFinding::FoldersBeyondLimit : CheckFinding::EntriesBeyondLimit,
         "the loader stops after %d %s and ignores this line and all after it",
         folders ? MAX_DEFINITION_FOLDERS : MAX_DEFINITION_TEXTS, folders ? "folders" : "entries");
}

// What follows a 0x1A in the block that held it is told; nothing more is
// read, since the loader reads nothing more.
CheckSummary Checker::Run() {
  const DefinitionWalk walk = WalkDefinition(source_, *this);
  summary_.headerMatches = scanning_;
  summary_.folders = static_cast<std::uint64_t>(walk.folders);
  summary_.entries = static_cast<std::uint64_t>(walk.entries);
  summary_.readFailed = source_.Failed();
  const bool walkedToTheEnd = (scanning_ || unreadable_) && walk.limit == DefinitionLimit::None;
  if (walkedToTheEnd && walk.stoppedAtEndMark && walk.bytesAfterEndMark > 0)
    Report(endLine_, CheckFinding::BytesAfterEndMark, "a 0x1A byte ends the file here; the loader reads nothing after it");
  return summary_;
}

}  // namespace

CheckSummary CheckDefinitionStream(ByteSource& source, CheckReport& report) {
  Checker checker(source, report);
  return checker.Run();
}

}  // namespace vx
