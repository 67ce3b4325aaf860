#include "deffile/definition_convert.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "deffile/byte_sources.h"
#include "deffile/cp932_codec.h"
#include "deffile/definition_format.h"
#include "deffile/definition_text_table.h"
#include "deffile/definition_walker.h"
#include "deffile/utf8.h"

namespace vx {
namespace {

constexpr std::size_t LINE_LIMIT = vx::DEFINITION_LINE_SIZE - 1;
constexpr char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";

// Characters that code page 932 lacks but whose look-alike it has: what a
// Japanese editor types for them is usually the full-width form.
struct LookAlike {
  char32_t character;
  const char* replacement;
};
static constexpr LookAlike LOOK_ALIKES[] = {
    {0x00A2, "\xEF\xBF\xA0 (U+FFE0)"},
    {0x00A3, "\xEF\xBF\xA1 (U+FFE1)"},
    {0x00A5, "\xEF\xBF\xA5 (U+FFE5) or &yen;"},
    {0x00A6, "\xEF\xBF\xA4 (U+FFE4)"},
    {0x00AC, "\xEF\xBF\xA2 (U+FFE2)"},
    {0x2014, "\xE2\x80\x95 (U+2015)"},
    {0x2016, "\xE2\x88\xA5 (U+2225)"},
    {0x203E, "\xEF\xBF\xA3 (U+FFE3)"},
    {0x2212, "\xEF\xBC\x8D (U+FF0D)"},
    {0x301C, "\xEF\xBD\x9E (U+FF5E)"},
};

// Invisible or layout-changing characters are named by number only.
bool IsShownInMessages(char32_t c) {
  return c >= 0xA0 && !(c >= 0x200B && c <= 0x200F) && !(c >= 0x2028 && c <= 0x202E) &&
         !(c >= 0x2060 && c <= 0x206F) && !(c >= 0xFE00 && c <= 0xFE0F) && c != 0xFEFF &&
         !(c >= 0xFFF9 && c <= 0xFFFB) && c < 0xE0000;
}

std::string NameOf(char32_t c) {
  char text[32];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  std::string name = text;
  if (IsShownInMessages(c)) {
    char utf8[4];
    std::size_t length = 0;
    AppendUtf8(c, utf8, length);
    name += " (" + std::string(utf8, length) + ")";
  }
  return name;
}

std::string HexBytes(const unsigned char* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%s0x%02X", i > 0 ? " " : "", bytes[i]);
    text += hex;
  }
  return text;
}

// One physical line of the input, without its LF and without a CR before it.
struct InputLine {
  const unsigned char* bytes;
  std::size_t count;
  std::uint64_t number;
};

template <typename Visit>
void ForEachLine(std::string_view input, Visit visit) {
  std::uint64_t number = 0;
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? input.size() : end + 1;
    if (end == std::string_view::npos) end = input.size();
    std::size_t count = end - start;
    if (count > 0 && input[start + count - 1] == '\r') --count;
    visit(InputLine{reinterpret_cast<const unsigned char*>(input.data() + start), count, ++number});
    start = next;
  }
}

// Findings arrive in reading order, which is not quite the order of places
// within a line; only the KEPT_FINDINGS first places are kept, and a message
// is composed only for a finding that is kept, so that a file of nothing but
// errors costs no more memory than a clean one.
class Findings {
 public:
  template <typename Compose>
  void Add(std::uint64_t line, std::uint64_t column, Compose compose) {
    const Place place{line, column, total_++};
    if (heap_.size() == KEPT_FINDINGS) {
      if (!Before(place, heap_.front().place)) return;
      std::pop_heap(heap_.begin(), heap_.end(), ByPlace);
      heap_.pop_back();
    }
    heap_.push_back({place, std::string(compose())});
    std::push_heap(heap_.begin(), heap_.end(), ByPlace);
  }
  void Add(std::uint64_t line, std::uint64_t column, const char* message) {
    Add(line, column, [message] { return message; });
  }
  Conversion Result(std::string output) {
    std::sort_heap(heap_.begin(), heap_.end(), ByPlace);
    Conversion conversion{std::move(output), {}, total_};
    for (Kept& kept : heap_) conversion.findings.push_back({kept.place.line, kept.place.column, std::move(kept.message)});
    return conversion;
  }

 private:
  struct Place {
    std::uint64_t line;
    std::uint64_t column;
    std::uint64_t order;
  };
  struct Kept {
    Place place;
    std::string message;
  };
  static bool Before(const Place& a, const Place& b) {
    if (a.line != b.line) return a.line < b.line;
    if (a.column != b.column) return a.column < b.column;
    return a.order < b.order;
  }
  static bool ByPlace(const Kept& a, const Kept& b) { return Before(a.place, b.place); }
  std::vector<Kept> heap_;  // a max-heap by place: its front is the first to give way
  std::uint64_t total_ = 0;
};

// The column of the character that starts at byte 255 of a line whose first
// read is piece: the next one when the read ends on a whole character.
std::uint64_t ColumnAfter(const vx::DefinitionPiece& piece) {
  std::uint64_t column = 0;
  std::size_t at = 0;
  while (at < piece.count) {
    ++column;
    at += vx::IsCp932LeadByte(static_cast<unsigned char>(piece.bytes[at])) ? 2 : 1;
  }
  return at > piece.count ? column : column + 1;
}

// The converted file walked as the loader will read it: where a line that
// converts well would still load otherwise than it reads. The byte length of
// each line that one read cannot hold comes from the conversion, since the
// walk may stop before such a line ends.
class LoaderShape final : public vx::DefinitionVisitor {
 public:
  LoaderShape(Findings& findings, const std::map<std::uint64_t, std::size_t>& longLines)
      : findings_(findings), longLines_(longLines) {}

  void Read(const vx::DefinitionPiece& piece) override {
    if (!piece.continuation) {
      firstReadColumn_ = piece.endsLine ? 0 : ColumnAfter(piece);
      return;
    }
    const auto longLine = longLines_.find(piece.line);
    if (piece.IsLoneLineEnd() || cutLine_ == piece.line || longLine == longLines_.end()) return;
    cutLine_ = piece.line;
    findings_.Add(piece.line, firstReadColumn_, [bytes = longLine->second] {
      char message[160];
      std::snprintf(message, sizeof message,
                    "the line is %zu bytes in code page 932; the loader reads %zu bytes at a time and would cut "
                    "it before this character",
                    bytes, LINE_LIMIT);
      return std::string(message);
    });
  }

  void Entry(const vx::DefinitionPiece& label, const vx::DefinitionPiece* text, int, vx::DefinitionItem) override {
    if (text == nullptr || label.continuation || !text->IsLoneLineEnd()) return;
    findings_.Add(label.line, ColumnAfter(label), [] {
      char message[200];
      std::snprintf(message, sizeof message,
                    "a label of exactly %zu bytes in code page 932: the loader reads its line end alone as the "
                    "entry's text, and the next line as a new label",
                    LINE_LIMIT);
      return std::string(message);
    });
  }

  vx::DefinitionItem Folder(const vx::DefinitionPiece&, int, const char*, vx::DefinitionItem) override {
    return SHAPED_FOLDER;
  }
  bool ReadsPastLimit() const override { return true; }
  void PastLimit(const vx::DefinitionPiece& piece, vx::DefinitionLimit) override {
    findings_.Add(piece.line, 1, [] {
      char message[200];
      std::snprintf(message, sizeof message,
                    "the loader stops after %d entries or %d folders and ignores this line and every line after it",
                    vx::MAX_DEFINITION_TEXTS, vx::MAX_DEFINITION_FOLDERS);
      return std::string(message);
    });
  }

 private:
  static constexpr vx::DefinitionItem SHAPED_FOLDER = 1;
  Findings& findings_;
  const std::map<std::uint64_t, std::size_t>& longLines_;
  std::uint64_t firstReadColumn_ = 0;
  std::uint64_t cutLine_ = 0;
};

class ToCp932 {
 public:
  Conversion Run(std::string_view input);

 private:
  void Line(const InputLine& line);
  void ReportInvalid(const InputLine& line, std::uint64_t column, std::size_t at, std::size_t count);
  void ReportUnmappable(const InputLine& line, std::uint64_t column, char32_t c);

  Findings findings_;
  std::string output_;
  std::map<std::uint64_t, std::size_t> longLines_;  // line: its bytes, for lines one read cannot hold
};

void ToCp932::ReportInvalid(const InputLine& line, std::uint64_t column, std::size_t at, std::size_t count) {
  findings_.Add(line.number, column, [&line, at, count] {
    const std::size_t shown = std::min<std::size_t>(count, 4);
    return (count == 1 ? "byte " : "bytes ") + HexBytes(line.bytes + at, shown) + (count > shown ? " ..." : "") +
           (count == 1 ? " is" : " are") + " not valid UTF-8";
  });
}

void ToCp932::ReportUnmappable(const InputLine& line, std::uint64_t column, char32_t c) {
  findings_.Add(line.number, column, [c] {
    std::string message = NameOf(c) + " has no code in code page 932";
    const auto* lookAlike = std::find_if(std::begin(LOOK_ALIKES), std::end(LOOK_ALIKES),
                                         [c](const LookAlike& row) { return row.character == c; });
    if (lookAlike != std::end(LOOK_ALIKES)) return message + "; write " + lookAlike->replacement + " instead";
    char reference[32];
    std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
    return message + "; in HTML text, " + reference + " stands for it";
  });
}

// Whatever cannot be written as it stands (a broken sequence, a character
// without a code, a control character the loader reads otherwise) takes one
// byte in the converted lines, so that the walk over them judges lengths,
// columns and the lines after it as the author wrote them. Such a file gets
// findings, so these bytes are never written.
constexpr unsigned char STAND_IN = '?';

void ToCp932::Line(const InputLine& line) {
  std::string bytes;
  std::uint64_t column = 0;
  for (std::size_t i = 0; i < line.count;) {
    ++column;
    const Utf8Decoded decoded = DecodeUtf8(line.bytes + i, line.count - i);
    if (decoded.length == 0) {
      // A run of broken sequences is one finding; each still counts one column.
      const std::uint64_t start = column;
      std::size_t end = i + decoded.invalidLength;
      while (end < line.count && DecodeUtf8(line.bytes + end, line.count - end).length == 0) {
        end += DecodeUtf8(line.bytes + end, line.count - end).invalidLength;
        ++column;
      }
      ReportInvalid(line, start, i, end - i);
      bytes.append(column - start + 1, STAND_IN);
      i = end;
      continue;
    }
    i += decoded.length;
    const char32_t c = decoded.character;
    unsigned char code[2] = {STAND_IN};
    std::size_t length = 0;
    if (c == 0 || c == '\r' || c == 0x1A) {
      length = 1;
      findings_.Add(line.number, column,
                    c == 0      ? "a NUL character: the loader reads the line only up to it"
                    : c == '\r' ? "a carriage return inside the line: the loader drops it"
                                : "U+001A: the loader takes it for the end of the file");
    } else if ((length = vx::EncodeCp932(c, code)) == 0) {
      length = 1;
      ReportUnmappable(line, column, c);
    }
    bytes.append(reinterpret_cast<const char*>(code), length);
  }
  if (bytes.size() > LINE_LIMIT) longLines_[line.number] = bytes.size();
  output_ += bytes;
  output_ += "\r\n";
}

// Each line is converted on its own, then the result is walked as the loader
// will read it, behind the header that a file without one would need.
Conversion ToCp932::Run(std::string_view input) {
  const bool byteOrderMark = input.substr(0, 3) == BYTE_ORDER_MARK;
  if (byteOrderMark) input.remove_prefix(3);
  const std::string_view firstLine = input.substr(0, input.find('\n'));
  const auto isHeader = [firstLine](const char* header) {
    const std::string_view text = firstLine.substr(0, firstLine.size() - (!firstLine.empty() && firstLine.back() == '\r'));
    return text == header;
  };
  if (!byteOrderMark && isHeader(vx::DEFINITION_HEADER)) {
    findings_.Add(1, 1, "the file is already in code page 932; there is nothing to convert");
    return findings_.Result("");
  }
  const bool headerMatches = isHeader(vx::DEFINITION_HEADER_UTF8);
  if (!headerMatches)
    findings_.Add(1, 1, [] {
      return std::string("the first line must be the header ") + vx::DEFINITION_HEADER_UTF8 +
             " alone; without it the loader ignores the whole file";
    });
  ForEachLine(input, [this, headerMatches](const InputLine& line) {
    if (line.number == 1) {
      if (!headerMatches) Line(line);  // for its findings
      output_ = std::string(vx::DEFINITION_HEADER) + "\r\n";
    } else {
      Line(line);
    }
  });
  vx::MemoryByteSource converted(output_.data(), output_.size());
  LoaderShape shape(findings_, longLines_);
  vx::WalkDefinition(converted, shape);
  return findings_.Result(std::move(output_));
}

class ToUtf8 {
 public:
  Conversion Run(std::string_view input);

 private:
  void Line(const InputLine& line);

  Findings findings_;
  std::string output_;
};

void ToUtf8::Line(const InputLine& line) {
  std::uint64_t column = 0;
  for (std::size_t i = 0; i < line.count;) {
    ++column;
    const vx::Cp932Char decoded = vx::DecodeCp932(line.bytes + i, line.count - i);
    if (decoded.length == 0) {
      const std::size_t length = vx::Cp932InvalidLength(line.bytes + i, line.count - i);
      const bool cutLead = vx::IsCp932LeadByte(line.bytes[i]) && i + 1 == line.count;
      findings_.Add(line.number, column, [bytes = line.bytes + i, length, cutLead] {
        return HexBytes(bytes, length) + (cutLead ? " starts a double-byte character that the line ends in"
                                                  : " is not a code page 932 character");
      });
      i += length;
      continue;
    }
    // Some characters have two codes; converting back writes the one Windows
    // prefers, so the other could not come back as it was.
    unsigned char back[2];
    const std::size_t backLength = vx::EncodeCp932(decoded.character, back);
    const unsigned char* bytes = line.bytes + i;
    if (backLength == 0) {
      findings_.Add(line.number, column, [bytes, decoded] {
        return HexBytes(bytes, decoded.length) + " stands for " + NameOf(decoded.character) +
               ", which code page 932 cannot write back";
      });
    } else if (backLength != decoded.length || std::memcmp(back, bytes, backLength) != 0) {
      findings_.Add(line.number, column, [bytes, decoded, &back, backLength] {
        return HexBytes(bytes, decoded.length) + " is a second code of " + NameOf(decoded.character) +
               "; converting back would write " + HexBytes(back, backLength) +
               ", so retype the character to get that code";
      });
    }
    char utf8[4];
    std::size_t length = 0;
    AppendUtf8(decoded.character, utf8, length);
    output_.append(utf8, length);
    i += decoded.length;
  }
  output_ += '\n';
}

Conversion ToUtf8::Run(std::string_view input) {
  const std::string_view firstLine = input.substr(0, input.find('\n'));
  if (input.substr(0, 3) == BYTE_ORDER_MARK ||
      firstLine.substr(0, std::strlen(vx::DEFINITION_HEADER_UTF8)) == vx::DEFINITION_HEADER_UTF8) {
    findings_.Add(1, 1, "the file is already in UTF-8; there is nothing to convert");
    return findings_.Result("");
  }
  ForEachLine(input, [this](const InputLine& line) { Line(line); });
  return findings_.Result(std::move(output_));
}

}  // namespace

Conversion ConvertDefinitionToCp932(std::string_view utf8) { return ToCp932().Run(utf8); }

Conversion ConvertDefinitionToUtf8(std::string_view cp932) { return ToUtf8().Run(cp932); }

}  // namespace vx
