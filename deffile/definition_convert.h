// Definition files between UTF-8, as modern editors save them, and code page
// 932, as the add-in reads them. A conversion either keeps everything the
// file says, as the loader will read it, or lists every place where it could
// not; the caller then writes nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct ConvertFinding {
  std::uint64_t line;    // from 1
  std::uint64_t column;  // in characters from 1; an invalid byte sequence counts as one
  std::string message;   // UTF-8, no line end
};

// A file of nothing but errors raises a finding every few bytes; past this
// many only their number is worth keeping.
inline constexpr std::size_t KEPT_FINDINGS = 1000;

struct Conversion {
  std::string output;                    // meaningful only without findings
  std::vector<ConvertFinding> findings;  // the first KEPT_FINDINGS by line, then column
  std::uint64_t findingCount = 0;        // all of them
};

// UTF-8 (with or without a byte-order mark, LF or CR LF) whose first line is
// the header, to code page 932 with CR LF line ends.
Conversion ConvertDefinitionToCp932(std::string_view utf8);

// Code page 932 to UTF-8 without a byte-order mark, with LF line ends, such
// that converting the result back gives a file that loads the same.
Conversion ConvertDefinitionToUtf8(std::string_view cp932);

}  // namespace vx
