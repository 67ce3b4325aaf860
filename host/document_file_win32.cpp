#include "host/document_file_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "host/tag_window_link_win32.h"  // FolderOf

namespace vxhost {
namespace {

struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
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

// The edit control keeps its text as UTF-16: bytes that do not come back from
// the ANSI code page unchanged (a lead byte without its trail, say) would be
// saved as something else.
bool SurvivesEditControl(const std::string& bytes) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::vector<wchar_t> text(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), wide);
  const int narrow = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (narrow != size) return false;
  std::string back(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &back[0], narrow, nullptr, nullptr);
  return back == bytes;
}

}  // namespace

FileResult ReadDocument(const char* path, std::string& bytes) {
  if (!path || !*path) return FileResult::CannotOpen;
  FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return FileResult::CannotOpen;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.handle, &size)) return FileResult::ReadFailed;
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > MAX_DOCUMENT_BYTES) {
    return FileResult::TooLarge;
  }
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    if (!ReadFile(file.handle, &content[done], static_cast<DWORD>(content.size() - done), &got, nullptr)) {
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
  // A name the system makes unique, in the target's folder so that the
  // replacement is a rename on one volume; no file of the user's is touched.
  const std::string folder = FolderOf(path);
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "vx", 0, temporary)) {
    return FileResult::CannotOpen;
  }
  {
    FileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE) {
      DeleteFileA(temporary);
      return FileResult::CannotOpen;
    }
    if (!WriteAll(file.handle, bytes) || !FlushFileBuffers(file.handle)) {
      CloseHandle(file.handle);
      file.handle = INVALID_HANDLE_VALUE;
      DeleteFileA(temporary);
      return FileResult::WriteFailed;
    }
  }
  if (!MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary);
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
  if (!SurvivesEditControl(bytes)) return FileResult::NotCodePageText;
  if (!SetWindowTextA(edit, bytes.c_str())) return FileResult::ReadFailed;
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
    case FileResult::NotCodePageText: return "シフトJISとして読めないバイトを含みます。開いて保存すると内容が変わるため、開きません。";
    case FileResult::ReadFailed: return "ファイルを読めませんでした。";
    case FileResult::WriteFailed: return "ファイルを書き込めませんでした。元のファイルはそのままです。";
  }
  return "";
}

}  // namespace vxhost
