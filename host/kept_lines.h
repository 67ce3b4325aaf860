// Lines of a Shift_JIS document that a save writes as their original bytes.
// Code page 932 gives some characters two codes (髙 is EE E0 and FB FC) and
// a conversion writes only one of them back, so each line that held the
// other keeps its bytes for as long as it is the same line: found by
// comparing the lines as read (or last saved) with the lines now, in order,
// the way a line diff does, never by its text alone.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vxhost {

// The lines of a text, each with its line end: CR LF, a lone CR or a lone
// LF; the last one may have none. An empty text has no lines.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);
std::vector<std::string_view> SplitLines(std::string_view bytes);

struct KeptLine {
  std::size_t line = 0;  // from 0
  std::string bytes;     // with its line end
};

class KeptLines {
 public:
  KeptLines() = default;
  // lines: the document's lines as read or saved; kept: those of them that
  // keep their bytes, by increasing line.
  KeptLines(const std::vector<std::wstring_view>& lines, std::vector<KeptLine> kept);

  bool Empty() const { return kept_.empty(); }
  const std::vector<KeptLine>& Kept() const { return kept_; }

  // For each line of now, the original bytes it is written as, or null for a
  // line that is new or changed.
  std::vector<const std::string*> Match(const std::vector<std::wstring_view>& now) const;
  // The bookkeeping after now was written with the given matches.
  static KeptLines After(const std::vector<std::wstring_view>& now, const std::vector<const std::string*>& matches);

 private:
  std::vector<std::wstring> lines_;  // held only while some line is kept
  std::vector<KeptLine> kept_;
};

}  // namespace vxhost
