#include "host/charset_prescan.h"

#include <algorithm>
#include <vector>

namespace vxhost {
namespace {

enum class LabelKind { ShiftJis, Utf8, Other };

struct Label {
  const char* name;
  LabelKind kind;
};

// The labels browsers know for the two encodings the editor reads (UTF-16
// labels count as UTF-8: a page scanned as bytes cannot be UTF-16), and those
// of the other encodings Japanese pages declare. A label missing here is
// passed over, so a page naming a rarer encoding is judged by its bytes.
static constexpr Label LABELS[] = {
    {"csshiftjis",          LabelKind::ShiftJis},
    {"ms932",               LabelKind::ShiftJis},
    {"ms_kanji",            LabelKind::ShiftJis},
    {"shift-jis",           LabelKind::ShiftJis},
    {"shift_jis",           LabelKind::ShiftJis},
    {"sjis",                LabelKind::ShiftJis},
    {"windows-31j",         LabelKind::ShiftJis},
    {"x-sjis",              LabelKind::ShiftJis},
    {"unicode-1-1-utf-8",   LabelKind::Utf8},
    {"unicode11utf8",       LabelKind::Utf8},
    {"unicode20utf8",       LabelKind::Utf8},
    {"utf-8",               LabelKind::Utf8},
    {"utf8",                LabelKind::Utf8},
    {"x-unicode20utf8",     LabelKind::Utf8},
    {"csunicode",           LabelKind::Utf8},
    {"iso-10646-ucs-2",     LabelKind::Utf8},
    {"ucs-2",               LabelKind::Utf8},
    {"unicode",             LabelKind::Utf8},
    {"unicodefeff",         LabelKind::Utf8},
    {"unicodefffe",         LabelKind::Utf8},
    {"utf-16",              LabelKind::Utf8},
    {"utf-16be",            LabelKind::Utf8},
    {"utf-16le",            LabelKind::Utf8},
    {"cseucpkdfmtjapanese", LabelKind::Other},
    {"euc-jp",              LabelKind::Other},
    {"x-euc-jp",            LabelKind::Other},
    {"csiso2022jp",         LabelKind::Other},
    {"iso-2022-jp",         LabelKind::Other},
    {"ascii",               LabelKind::Other},
    {"cp1252",              LabelKind::Other},
    {"iso-8859-1",          LabelKind::Other},
    {"iso8859-1",           LabelKind::Other},
    {"latin1",              LabelKind::Other},
    {"us-ascii",            LabelKind::Other},
    {"windows-1252",        LabelKind::Other},
    {"x-user-defined",      LabelKind::Other},
    {"gb2312",              LabelKind::Other},
    {"gbk",                 LabelKind::Other},
    {"gb18030",             LabelKind::Other},
    {"big5",                LabelKind::Other},
    {"euc-kr",              LabelKind::Other},
};

bool IsSpace(char c) { return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[at + i]) != prefix[i]) return false;
  }
  return true;
}

std::string Trimmed(std::string_view label) {
  std::size_t begin = 0, end = label.size();
  while (begin < end && IsSpace(label[begin])) ++begin;
  while (end > begin && IsSpace(label[end - 1])) --end;
  return std::string(label.substr(begin, end - begin));
}

// A label browsers know, or not found.
DeclaredCharset FromLabel(std::string_view label) {
  DeclaredCharset declared;
  const std::string trimmed = Trimmed(label);
  std::string lower = trimmed;
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  for (const Label& row : LABELS) {
    if (lower != row.name) continue;
    declared.found = true;
    declared.label = trimmed;
    declared.known = row.kind != LabelKind::Other;
    declared.encoding = row.kind == LabelKind::ShiftJis ? Encoding::ShiftJis : Encoding::Utf8;
    break;
  }
  return declared;
}

// The "charset=" of a Content-Type value, as browsers take it from a meta
// element's content attribute; empty when there is none.
std::string CharsetOfContent(std::string_view content) {
  std::size_t at = 0;
  for (;;) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = at; i + 7 <= content.size(); ++i) {
      if (StartsWithNoCase(content, i, "charset")) {
        found = i;
        break;
      }
    }
    if (found == std::string_view::npos) return std::string();
    std::size_t i = found + 7;
    while (i < content.size() && IsSpace(content[i])) ++i;
    if (i >= content.size() || content[i] != '=') {
      at = i;  // look again from the character that was no '='
      continue;
    }
    ++i;
    while (i < content.size() && IsSpace(content[i])) ++i;
    if (i >= content.size()) return std::string();
    if (content[i] == '"' || content[i] == '\'') {
      const std::size_t close = content.find(content[i], i + 1);
      if (close == std::string_view::npos) return std::string();
      return std::string(content.substr(i + 1, close - i - 1));
    }
    std::size_t end = i;
    while (end < content.size() && !IsSpace(content[end]) && content[end] != ';') ++end;
    return std::string(content.substr(i, end - i));
  }
}

// One step of the scan over a window of bytes; running past its end ends
// the whole scan with nothing found.
class Scanner {
 public:
  explicit Scanner(std::string_view bytes) : bytes_(bytes) {}

  DeclaredCharset Run() {
    while (at_ < bytes_.size()) {
      if (StartsWithNoCase(bytes_, at_, "<!--")) {
        // The end is the first "-->" whose "--" may be the opening's own.
        const std::size_t end = bytes_.find("-->", at_ + 2);
        if (end == std::string_view::npos) return {};
        at_ = end + 3;
        continue;
      }
      if (StartsWithNoCase(bytes_, at_, "<meta") && at_ + 5 < bytes_.size() &&
          (IsSpace(bytes_[at_ + 5]) || bytes_[at_ + 5] == '/')) {
        at_ += 6;
        bool ended = false;
        DeclaredCharset declared = Meta(ended);
        if (ended) return {};
        if (declared.found) return declared;
        continue;
      }
      if (bytes_[at_] == '<' && at_ + 1 < bytes_.size() &&
          (IsLetter(bytes_[at_ + 1]) || (bytes_[at_ + 1] == '/' && at_ + 2 < bytes_.size() && IsLetter(bytes_[at_ + 2])))) {
        while (at_ < bytes_.size() && !IsSpace(bytes_[at_]) && bytes_[at_] != '>') ++at_;
        std::string name, value;
        bool ended = false;
        while (Attribute(name, value, ended)) {
        }
        if (ended) return {};
        ++at_;
        continue;
      }
      if (bytes_[at_] == '<' && at_ + 1 < bytes_.size() &&
          (bytes_[at_ + 1] == '!' || bytes_[at_ + 1] == '/' || bytes_[at_ + 1] == '?')) {
        const std::size_t end = bytes_.find('>', at_ + 1);
        if (end == std::string_view::npos) return {};
        at_ = end + 1;
        continue;
      }
      ++at_;
    }
    return {};
  }

 private:
  // The attributes of one meta element; found when it declares a charset.
  DeclaredCharset Meta(bool& ended) {
    std::vector<std::string> seen;
    bool gotPragma = false;
    enum class NeedPragma { Unset, Yes, No } needPragma = NeedPragma::Unset;
    DeclaredCharset charset;
    bool charsetSet = false;  // an unknown charset attribute still outranks a later content
    std::string name, value;
    while (Attribute(name, value, ended)) {
      if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
      seen.push_back(name);
      if (name == "http-equiv") {
        if (value == "content-type") gotPragma = true;
      } else if (name == "content") {
        const DeclaredCharset content = charsetSet ? DeclaredCharset() : FromLabel(CharsetOfContent(value));
        if (content.found) {
          charset = content;
          charsetSet = true;
          needPragma = NeedPragma::Yes;
        }
      } else if (name == "charset") {
        charset = FromLabel(value);
        charsetSet = true;
        needPragma = NeedPragma::No;
      }
    }
    if (ended || needPragma == NeedPragma::Unset || (needPragma == NeedPragma::Yes && !gotPragma)) return {};
    return charset;
  }

  // One attribute at the scan's place, its name and value lowered as
  // browsers lower them (the value keeps its case for the label shown: only
  // names are compared lowered, labels are looked up lowered).
  bool Attribute(std::string& name, std::string& value, bool& ended) {
    name.clear();
    value.clear();
    while (at_ < bytes_.size() && (IsSpace(bytes_[at_]) || bytes_[at_] == '/')) ++at_;
    if (at_ >= bytes_.size()) return End(ended);
    if (bytes_[at_] == '>') return false;
    for (;; ++at_) {
      if (at_ >= bytes_.size()) return End(ended);
      const char c = bytes_[at_];
      if (c == '=' && !name.empty()) break;
      if (IsSpace(c)) {
        while (at_ < bytes_.size() && IsSpace(bytes_[at_])) ++at_;
        if (at_ >= bytes_.size()) return End(ended);
        if (bytes_[at_] != '=') return true;
        break;
      }
      if (c == '/' || c == '>') return true;
      name += Lower(c);
    }
    ++at_;  // past '='
    while (at_ < bytes_.size() && IsSpace(bytes_[at_])) ++at_;
    if (at_ >= bytes_.size()) return End(ended);
    const char quote = bytes_[at_];
    if (quote == '"' || quote == '\'') {
      for (++at_; at_ < bytes_.size(); ++at_) {
        if (bytes_[at_] == quote) {
          ++at_;
          LowerValueOf(name, value);
          return true;
        }
        value += bytes_[at_];
      }
      return End(ended);
    }
    if (quote == '>') return true;
    for (; at_ < bytes_.size(); ++at_) {
      if (IsSpace(bytes_[at_]) || bytes_[at_] == '>') {
        LowerValueOf(name, value);
        return true;
      }
      value += bytes_[at_];
    }
    return End(ended);
  }

  // http-equiv is compared lowered; charset and content keep what was
  // written, since their labels are looked up without regard to case anyway.
  static void LowerValueOf(const std::string& name, std::string& value) {
    if (name == "http-equiv") std::transform(value.begin(), value.end(), value.begin(), Lower);
  }

  static bool End(bool& ended) {
    ended = true;
    return false;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

DeclaredCharset PrescanCharset(std::string_view bytes) {
  return Scanner(bytes.substr(0, std::min(bytes.size(), CHARSET_SCAN_BYTES))).Run();
}

EncodingGuess GuessEncoding(std::string_view bytes, const std::function<bool(Encoding)>& decodes) {
  EncodingGuess guess;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return guess;
  guess.declared = PrescanCharset(bytes);
  if (guess.declared.known) {
    const Encoding declared = guess.declared.encoding;
    const Encoding other = declared == Encoding::Utf8 ? Encoding::ShiftJis : Encoding::Utf8;
    if (decodes(declared) || !decodes(other)) {
      guess.encoding = declared;
    } else {
      guess.encoding = other;
      guess.declarationOverruled = true;
    }
    return guess;
  }
  guess.encoding = decodes(Encoding::Utf8) ? Encoding::Utf8 : Encoding::ShiftJis;
  return guess;
}

}  // namespace vxhost
