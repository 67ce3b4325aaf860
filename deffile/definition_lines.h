// The line size and the header of a definition file, for the walk and the
// tools that name them.
#pragma once
#include <cstddef>
#include <cstring>

#include "deffile/definition_loader.h"

namespace vx {

// One line read: at most 255 bytes and a zero.
inline constexpr std::size_t DEFINITION_LINE_SIZE = 256;

// The header as a UTF-8 editor saves it: the loader ignores such a file, and
// the tools recognise it to say how to convert it.
inline constexpr char DEFINITION_HEADER_UTF8[] =
    "[VX-HTML\xE5\xAE\x9A\xE7\xBE\xA9\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB]";

// The first read of the file must deliver exactly the header and its LF.
inline bool IsDefinitionHeaderLine(const char* line, std::size_t count) {
  const std::size_t length = std::strlen(DEFINITION_HEADER);
  return count == length + 1 && std::memcmp(line, DEFINITION_HEADER, length) == 0 &&
         line[length] == '\n';
}

}  // namespace vx
