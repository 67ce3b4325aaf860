// Reading and writing the sample editor's documents. A document is Shift_JIS
// (code page 932, named explicitly whatever the system code page) or UTF-8;
// the edit control holds it as UTF-16, and a save writes it back in the
// encoding it came in, the lines the user did not change as their original bytes.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "host/charset_prescan.h"
#include "host/encoding.h"
#include "host/kept_lines.h"

namespace vxhost {

enum class FileResult {
  Ok,
  CannotOpen,
  TooLarge,    // more than MAX_DOCUMENT_BYTES
  NotText,     // holds a NUL character, which the edit control would cut the text at
  InvalidBytes,  // bytes that are no text in the document's encoding (see InvalidByte)
  ReadFailed,
  WriteFailed,
  FolderNotWritable,  // no new file can be made in the target's folder
  EditUnreadable,     // the edit control is missing or its text could not be read
  Unsavable,          // the text holds a character the document's encoding cannot hold
  DeviceName,         // the name is a device's (aux.html), or what it opens is no file
  PathTooLong,        // the system refuses the path for its length, even in its long form
};

// The first character of a document that its encoding cannot hold: one
// UTF-16 unit, or a surrogate pair for a character beyond U+FFFF.
struct UnsavableCharacter {
  std::size_t line = 0;  // from 1
  std::wstring character;
};

// The first byte of a file that is no text in the encoding it was read in.
struct InvalidByte {
  std::size_t line = 0;    // from 1
  std::size_t column = 0;  // the byte's place in its line, from 1
  unsigned char value = 0;
};

// How a document's file is written, with the lines that keep their original
// bytes (host/kept_lines.h).
struct DocumentFormat {
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  KeptLines kept;
};

inline constexpr std::size_t MAX_DOCUMENT_BYTES = 16 * 1024 * 1024;
inline constexpr UINT SHIFT_JIS_CODE_PAGE = 932;

// The name the file calls take: full, and in its long form when it is long.
std::wstring SystemPath(const std::wstring& path);

// Refuses more than limit bytes, a device's name and what is no file.
FileResult ReadDocument(const wchar_t* path, std::string& bytes, std::size_t limit = MAX_DOCUMENT_BYTES);
// Writes a new file of its own name beside the target first and then
// replaces the target with it, so a failed save leaves the previous file whole
// and no file of its own behind. Refuses what ReadDocument would refuse as too large.
FileResult WriteDocument(const wchar_t* path, const std::string& bytes, std::size_t limit = MAX_DOCUMENT_BYTES);

// The encoding a file is most likely in (GuessEncoding in host/charset_prescan.h),
// judged by strict decoding.
EncodingGuess GuessDocumentEncoding(const std::string& bytes);
// Decodes bytes in the given encoding (a UTF-8 byte-order mark is taken off
// and remembered). InvalidBytes names the first byte that is no text in it.
FileResult DecodeDocument(const std::string& bytes, Encoding encoding, std::wstring& text, DocumentFormat& format,
                          InvalidByte& invalid);
// The bytes a save writes; Unsavable names the first character the encoding
// lacks. after: the lines kept once these bytes are the file.
FileResult EncodeDocument(const std::wstring& text, const DocumentFormat& format, std::string& bytes,
                          UnsavableCharacter& where, KeptLines* after = nullptr);

// What a browser would find declared in the text saved in the given encoding.
DeclaredCharset DeclaredIn(const std::wstring& text, Encoding encoding);

// The control's text as code page 932 bytes (what the add-in's texts are
// compared with).
std::string EditText(HWND edit);
FileResult ReadEditText(HWND edit, std::wstring& text);
// The loaded text replaces the control's text only when the whole file was
// read and decoded; encoding null: the most likely one (guessed tells how it
// was judged). After InvalidBytes, format.encoding is the encoding the file
// was read in.
FileResult LoadIntoEdit(HWND edit, const wchar_t* path, const Encoding* encoding, DocumentFormat& format,
                        InvalidByte& invalid, EncodingGuess* guessed = nullptr);
// Writes nothing unless the whole text can be saved as it is; after a save
// the format's kept lines are those of the text saved.
FileResult SaveFromEdit(HWND edit, const wchar_t* path, DocumentFormat& format, UnsavableCharacter& where);

}  // namespace vxhost
