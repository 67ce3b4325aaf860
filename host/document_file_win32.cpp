#include "host/document_file_win32.h"

#include <algorithm>
#include <cstring>

namespace vxhost {
namespace {

struct FileHandle {
  HANDLE Handle;
  explicit FileHandle(HANDLE h) : Handle(h) {}
  ~FileHandle() {
    if (Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

FileResult ReadDocument(const char* path, std::string& bytes) {
  if (!path || !*path) return FileResult::CannotOpen;
  FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Handle == INVALID_HANDLE_VALUE) return FileResult::CannotOpen;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Handle, &size)) return FileResult::ReadFailed;
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxDocumentBytes) {
    return FileResult::TooLarge;
  }
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Handle, &content[done], static_cast<DWORD>(content.size() - done), &got, nullptr)) {
      return FileResult::ReadFailed;
    }
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  content.resize(done);
  if (content.find('\0') != std::string::npos) return FileResult::NotText;
  bytes.swap(content);
  return FileResult::Ok;
}

FileResult WriteDocument(const char* path, const std::string& bytes) {
  if (!path || !*path) return FileResult::CannotOpen;
  std::string temporary = std::string(path) + ".vxsave";
  {
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Handle == INVALID_HANDLE_VALUE) return FileResult::CannotOpen;
    if (!WriteAll(file.Handle, bytes) || !FlushFileBuffers(file.Handle)) {
      CloseHandle(file.Handle);
      file.Handle = INVALID_HANDLE_VALUE;
      DeleteFileA(temporary.c_str());
      return FileResult::WriteFailed;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return FileResult::WriteFailed;
  }
  return FileResult::Ok;
}

std::string EditText(HWND edit) {
  int length = GetWindowTextLengthA(edit);  // may overestimate, never underestimates
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(edit, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

FileResult LoadIntoEdit(HWND edit, const char* path) {
  std::string bytes;
  FileResult result = ReadDocument(path, bytes);
  if (result != FileResult::Ok) return result;
  SetWindowTextA(edit, bytes.c_str());
  SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  return FileResult::Ok;
}

FileResult SaveFromEdit(HWND edit, const char* path) {
  FileResult result = WriteDocument(path, EditText(edit));
  if (result == FileResult::Ok) SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  return result;
}

const char* DescribeFailure(FileResult result) {
  switch (result) {
    case FileResult::Ok: return "";
    case FileResult::CannotOpen: return "ファイルを開けません。";
    case FileResult::TooLarge: return "ファイルが大きすぎます。";
    case FileResult::NotText: return "テキストファイルではありません（ゼロのバイトを含みます）。";
    case FileResult::ReadFailed: return "ファイルを読めませんでした。";
    case FileResult::WriteFailed: return "ファイルを書き込めませんでした。元のファイルはそのままです。";
  }
  return "";
}

}  // namespace vxhost
