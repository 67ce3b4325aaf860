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
};

inline constexpr std::size_t MAX_DOCUMENT_BYTES = 16 * 1024 * 1024;

FileResult ReadDocument(const char* path, std::string& bytes);
// Writes a new file of its own name beside the target first and then
// replaces the target with it, so a failed save leaves the previous file whole.
FileResult WriteDocument(const char* path, const std::string& bytes);

std::string EditText(HWND edit);
// The loaded text replaces the control's text only when the whole file was
// read and the control can hold it byte for byte.
FileResult LoadIntoEdit(HWND edit, const char* path);
FileResult SaveFromEdit(HWND edit, const char* path);

// A short Japanese description of a failure, for the editor's message box.
const char* DescribeFailure(FileResult result);

}  // namespace vxhost
