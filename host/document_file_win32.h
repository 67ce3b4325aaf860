// Reading and writing the sample editor's documents. A document is Shift_JIS
// (code page 932, named explicitly whatever the system code page) or UTF-8;
// the edit control holds it as UTF-16, and a save writes it back in the
// encoding it came in, the lines the user did not change as their original bytes.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace vxhost {

enum class Encoding { ShiftJis, Utf8 };

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

// How a document's file is written. Code page 932 gives some characters two
// codes (髙 is EEE0 and FBFC) and writes only one of them back, so the lines
// that held the other keep their original bytes while their text is unchanged.
struct DocumentFormat {
  Encoding encoding = Encoding::Utf8;
  bool byteOrderMark = false;
  std::unordered_map<std::wstring, std::string> keptLines;  // line text (with its CR) -> original bytes
};

inline constexpr std::size_t MAX_DOCUMENT_BYTES = 16 * 1024 * 1024;
inline constexpr UINT SHIFT_JIS_CODE_PAGE = 932;

FileResult ReadDocument(const wchar_t* path, std::string& bytes);
// Writes a new file of its own name beside the target first and then
// replaces the target with it, so a failed save leaves the previous file whole
// and no file of its own behind. Refuses what ReadDocument would refuse as too large.
FileResult WriteDocument(const wchar_t* path, const std::string& bytes);

// The encoding a file without a byte-order mark is most likely in: the one
// its <meta charset> names if the bytes are valid in it, else UTF-8 if they
// are valid UTF-8 (Shift_JIS text beyond ASCII rarely is), else Shift_JIS.
Encoding GuessEncoding(const std::string& bytes);
// Decodes bytes in the given encoding (a UTF-8 byte-order mark is taken off
// and remembered). InvalidBytes names the first byte that is no text in it.
FileResult DecodeDocument(const std::string& bytes, Encoding encoding, std::wstring& text, DocumentFormat& format,
                          InvalidByte& invalid);
// The bytes a save writes; Unsavable names the first character the encoding lacks.
FileResult EncodeDocument(const std::wstring& text, const DocumentFormat& format, std::string& bytes,
                          UnsavableCharacter& where);

// The encoding the first <meta charset> (or http-equiv content "charset=")
// of a text names, as written; empty when it names none.
std::wstring DeclaredCharset(const std::wstring& text);
// Whether a declared charset name means the given encoding.
bool CharsetNames(const std::wstring& charset, Encoding encoding);

// The control's text as code page 932 bytes (what the add-in's texts are
// compared with).
std::string EditText(HWND edit);
FileResult ReadEditText(HWND edit, std::wstring& text);
// The loaded text replaces the control's text only when the whole file was
// read and decoded; encoding null: the most likely one (GuessEncoding). After
// InvalidBytes, format.encoding is the encoding the file was read in.
FileResult LoadIntoEdit(HWND edit, const wchar_t* path, const Encoding* encoding, DocumentFormat& format,
                        InvalidByte& invalid);
// Writes nothing unless the whole text can be saved as it is.
FileResult SaveFromEdit(HWND edit, const wchar_t* path, const DocumentFormat& format, UnsavableCharacter& where);

const wchar_t* EncodingName(Encoding encoding);

}  // namespace vxhost
