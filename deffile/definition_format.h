// The definition file's format in numbers and bytes: its header, the size of
// a line as the loader reads it, and the limits it keeps to. Everything that
// reads, checks or converts a definition file names these, once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vx {

// "[VX-HTML定義ファイル]" in code page 932, without its LF.
extern const char DEFINITION_HEADER[];

// The header as a UTF-8 editor saves it: the loader ignores such a file, and
// the tools recognise it to say how to convert it.
inline constexpr char DEFINITION_HEADER_UTF8[] =
    "[VX-HTML\xE5\xAE\x9A\xE7\xBE\xA9\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB]";

// One line read: at most 255 bytes and a zero. A text line is read whole
// into its slot of the definition text table, so a slot is the same size.
inline constexpr std::size_t DEFINITION_LINE_SIZE = 256;
inline constexpr int DEFINITION_TEXT_SIZE = static_cast<int>(DEFINITION_LINE_SIZE);

// Entries after this many have no slot for their text and are not read.
inline constexpr int MAX_DEFINITION_TEXTS = 3000;
// Folder lines after this many are not read: a file of nothing but dots would
// otherwise make millions of tree items on the host's interface thread.
inline constexpr int MAX_DEFINITION_FOLDERS = 3000;
inline constexpr int MAX_FOLDER_DEPTH = 100;

// The item value of every folder, user folders and the catalogue's alike.
inline constexpr std::int32_t FOLDER_VALUE = -2;

// The first read of the file must deliver exactly the header and its LF.
inline bool IsDefinitionHeaderLine(const char* line, std::size_t count) {
  const std::size_t length = std::strlen(DEFINITION_HEADER);
  return count == length + 1 && std::memcmp(line, DEFINITION_HEADER, length) == 0 &&
         line[length] == '\n';
}

}  // namespace vx
