// Reading and writing the sample editor's documents: code page 932 bytes,
// moved between the file and the edit control unchanged.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace vxhost {

enum class FileResult {
  Ok,
  CannotOpen,
  TooLarge,    // more than MAX_DOCUMENT_BYTES
  NotText,     // holds a zero byte, which the edit control would cut the text at
  NotCodePageText,  // holds bytes that the control's code page conversion would change
  ReadFailed,
  WriteFailed,
  FolderNotWritable,  // no new file can be made in the target's folder
  EditUnreadable,     // the edit control is missing or its text could not be read
  Unsavable,          // the text holds a character that code page 932 cannot hold
};

// The first character of a document that code page 932 cannot hold: one
// UTF-16 unit, or a surrogate pair for a character beyond U+FFFF.
struct UnsavableCharacter {
  std::size_t line = 0;  // from 1
  std::wstring character;
};

inline constexpr std::size_t MAX_DOCUMENT_BYTES = 16 * 1024 * 1024;

FileResult ReadDocument(const char* path, std::string& bytes);
// Writes a new file of its own name beside the target first and then
// replaces the target with it, so a failed save leaves the previous file whole
// and no file of its own behind. Refuses what ReadDocument would refuse as too large.
FileResult WriteDocument(const char* path, const std::string& bytes);

// The control's text as the code page 932 bytes a save writes. Read as
// UTF-16, so that a character the code page lacks is found (and put in
// where), never written as "?" or as a look-alike.
FileResult EditTextForSaving(HWND edit, std::string& bytes, UnsavableCharacter& where);
// The loaded text replaces the control's text only when the whole file was
// read and the control can hold it byte for byte.
FileResult LoadIntoEdit(HWND edit, const char* path);
// Writes nothing unless the whole text can be saved as it is.
FileResult SaveFromEdit(HWND edit, const char* path, UnsavableCharacter& where);

// A short Japanese description of a failure, for the editor's message box.
const char* DescribeFailure(FileResult result);
// The message for FileResult::Unsavable, naming the character and its line.
std::wstring DescribeUnsavable(const UnsavableCharacter& where);
// A code page 932 text as the UTF-16 the wide message box shows.
std::wstring WideFromCp932(const char* text);

}  // namespace vxhost
