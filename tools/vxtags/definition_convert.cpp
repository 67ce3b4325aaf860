#include "tools/vxtags/definition_convert.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "deffile/definition_lines.h"
#include "deffile/definition_text_table.h"
#include "tools/vxtags/cp932_codec.h"

namespace vxtags {
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

// Findings are gathered in reading order and sorted by place at the end.
class Findings {
 public:
  void Add(std::uint64_t line, std::uint64_t column, std::string message) {
    list_.push_back({line, column, std::move(message)});
  }
  std::vector<ConvertFinding> Sorted() {
    std::stable_sort(list_.begin(), list_.end(), [](const ConvertFinding& a, const ConvertFinding& b) {
      return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return std::move(list_);
  }

 private:
  std::vector<ConvertFinding> list_;
};

// Follows the loader through the lines after the header, to tell the places
// where a well-encoded line would still load otherwise than it reads.
class LoaderShape {
 public:
  enum Verdict { Fine, LabelFillsLine, BeyondLimit };

  Verdict Next(const std::string& line) {
    if (stopped_) {
      if (line.empty() || limitReported_) return Fine;
      limitReported_ = true;
      return BeyondLimit;
    }
    if (expectText_) {
      expectText_ = false;
      if (++entries_ == static_cast<std::uint64_t>(vx::MAX_DEFINITION_TEXTS)) stopped_ = true;
      return Fine;
    }
    if (line.empty()) return Fine;
    if (line[0] == '.') {
      if (++folders_ == static_cast<std::uint64_t>(vx::MAX_DEFINITION_FOLDERS)) stopped_ = true;
      return Fine;
    }
    expectText_ = true;
    return line.size() == LINE_LIMIT ? LabelFillsLine : Fine;
  }

 private:
  bool expectText_ = false;
  bool stopped_ = false;
  bool limitReported_ = false;
  std::uint64_t entries_ = 0;
  std::uint64_t folders_ = 0;
};

class ToCp932 {
 public:
  Conversion Run(std::string_view input);

 private:
  void Line(const InputLine& line, bool header);
  void ReportInvalid(const InputLine& line, std::uint64_t column, std::size_t at, std::size_t count);
  void ReportUnmappable(const InputLine& line, std::uint64_t column, char32_t c);

  Cp932Codec codec_;
  Findings findings_;
  LoaderShape shape_;
  std::string output_;
};

void ToCp932::ReportInvalid(const InputLine& line, std::uint64_t column, std::size_t at, std::size_t count) {
  const std::size_t shown = std::min<std::size_t>(count, 4);
  findings_.Add(line.number, column,
                (count == 1 ? "byte " : "bytes ") + HexBytes(line.bytes + at, shown) + (count > shown ? " ..." : "") +
                    (count == 1 ? " is" : " are") + " not valid UTF-8");
}

void ToCp932::ReportUnmappable(const InputLine& line, std::uint64_t column, char32_t c) {
  std::string message = NameOf(c) + " has no code in code page 932";
  const auto* lookAlike = std::find_if(std::begin(LOOK_ALIKES), std::end(LOOK_ALIKES),
                                       [c](const LookAlike& row) { return row.character == c; });
  if (lookAlike != std::end(LOOK_ALIKES)) {
    message += std::string("; write ") + lookAlike->replacement + " instead";
  } else {
    char reference[32];
    std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
    message += std::string("; in HTML text, ") + reference + " stands for it";
  }
  findings_.Add(line.number, column, message);
}

void ToCp932::Line(const InputLine& line, bool header) {
  std::string bytes;
  std::uint64_t column = 0;
  std::uint64_t cutColumn = 0;
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
      i = end;
      continue;
    }
    i += decoded.length;
    const char32_t c = decoded.character;
    unsigned char code[2];
    std::size_t length = 0;
    // Control characters the loader reads otherwise still count as bytes,
    // so that the lines after them are judged as the author wrote them.
    if (c == 0 || c == '\r' || c == 0x1A) {
      code[0] = static_cast<unsigned char>(c);
      length = 1;
      findings_.Add(line.number, column,
                    c == 0      ? "a NUL character: the loader reads the line only up to it"
                    : c == '\r' ? "a carriage return inside the line: the loader drops it"
                                : "U+001A: the loader takes it for the end of the file");
    } else if ((length = codec_.Encode(c, code)) == 0) {
      ReportUnmappable(line, column, c);
    }
    if (cutColumn == 0 && bytes.size() + length > LINE_LIMIT) cutColumn = column;
    bytes.append(reinterpret_cast<const char*>(code), length);
  }
  if (cutColumn != 0) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "the line is %zu bytes in code page 932; the loader reads 255 bytes at a time and would cut "
                  "it before this character",
                  bytes.size());
    findings_.Add(line.number, cutColumn, message);
  }
  switch (header ? LoaderShape::Fine : shape_.Next(bytes)) {
    case LoaderShape::Fine: break;
    case LoaderShape::LabelFillsLine:
      findings_.Add(line.number, column + 1,
                    "a label of exactly 255 bytes in code page 932: the loader reads its line end alone as the "
                    "entry's text, and the next line as a new label");
      break;
    case LoaderShape::BeyondLimit:
      findings_.Add(line.number, 1,
                    "the loader stops after 3000 entries or 3000 folders and ignores this line and every line "
                    "after it");
      break;
  }
  output_ += bytes;
  output_ += "\r\n";
}

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
    return {"", findings_.Sorted()};
  }
  const bool headerMatches = isHeader(vx::DEFINITION_HEADER_UTF8);
  if (!headerMatches)
    findings_.Add(1, 1, std::string("the first line must be the header ") + vx::DEFINITION_HEADER_UTF8 +
                            " alone; without it the loader ignores the whole file");
  ForEachLine(input, [this, headerMatches](const InputLine& line) {
    if (line.number == 1 && headerMatches) {
      output_ = std::string(vx::DEFINITION_HEADER) + "\r\n";
    } else {
      Line(line, line.number == 1);
    }
  });
  return {output_, findings_.Sorted()};
}

class ToUtf8 {
 public:
  Conversion Run(std::string_view input);

 private:
  void Line(const InputLine& line);

  Cp932Codec codec_;
  Findings findings_;
  std::string output_;
};

void ToUtf8::Line(const InputLine& line) {
  std::uint64_t column = 0;
  for (std::size_t i = 0; i < line.count;) {
    ++column;
    const Cp932Codec::Decoded decoded = codec_.Decode(line.bytes + i, line.count - i);
    if (decoded.length == 0) {
      const std::size_t length = Cp932Codec::InvalidLength(line.bytes + i, line.count - i);
      const bool cutLead = Cp932Codec::IsLeadByte(line.bytes[i]) && i + 1 == line.count;
      findings_.Add(line.number, column,
                    HexBytes(line.bytes + i, length) +
                        (cutLead ? " starts a double-byte character that the line ends in"
                                 : " is not a code page 932 character"));
      i += length;
      continue;
    }
    // Some characters have two codes; converting back writes the one Windows
    // prefers, so the other could not come back as it was.
    unsigned char back[2];
    const std::size_t backLength = codec_.Encode(decoded.character, back);
    if (backLength == 0) {
      findings_.Add(line.number, column,
                    HexBytes(line.bytes + i, decoded.length) + " stands for " + NameOf(decoded.character) +
                        ", which code page 932 cannot write back");
    } else if (backLength != decoded.length || std::memcmp(back, line.bytes + i, backLength) != 0) {
      findings_.Add(line.number, column,
                    HexBytes(line.bytes + i, decoded.length) + " is a second code of " + NameOf(decoded.character) +
                        "; converting back would write " + HexBytes(back, backLength) +
                        ", so retype the character to get that code");
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
    return {"", findings_.Sorted()};
  }
  ForEachLine(input, [this](const InputLine& line) { Line(line); });
  return {output_, findings_.Sorted()};
}

}  // namespace

Conversion ConvertDefinitionToCp932(std::string_view utf8) { return ToCp932().Run(utf8); }

Conversion ConvertDefinitionToUtf8(std::string_view cp932) { return ToUtf8().Run(cp932); }

}  // namespace vxtags
