// What one line of a definition file is, shared by the loader and the checker
// so that both read a file the same way.
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

// Lines are zero-terminated texts from here on: a NUL byte ends them early.
inline void RemoveLineEnd(char* text) {
  const std::size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n') text[length - 1] = '\0';
}

struct FolderLine {
  int level;            // 0 .. MAX_FOLDER_DEPTH - 1
  const char* caption;  // the bytes after the counted dots
};

// For a line that starts with '.': the dots count up to MAX_FOLDER_DEPTH, and
// any further dots belong to the caption.
inline FolderLine SplitFolderLine(const char* line) {
  int dots = 0;
  while (line[dots] == '.' && dots < MAX_FOLDER_DEPTH) ++dots;
  return FolderLine{dots - 1, line + dots};
}

}  // namespace vx
