#include "host/document_file_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
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

// The file a save writes first: deleted on every way out but the one that
// made it the user's file.
class TemporaryFile {
 public:
  explicit TemporaryFile(const char* path) : path_(path) {}
  ~TemporaryFile() {
    if (!kept_) DeleteFileA(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const char* Name() const { return path_.c_str(); }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

constexpr UINT DOCUMENT_CODE_PAGE = 932;
// The only way to learn that a character had no code page 932 form; a
// best-fit look-alike ("a" for "a" with a ring) would go unnoticed otherwise.
constexpr DWORD STRICT_CONVERSION = WC_NO_BEST_FIT_CHARS;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Converts text to code page 932 and back; true when the bytes are exact.
bool ConvertsExactly(const wchar_t* text, int count, std::string* bytes) {
  if (count == 0) {
    if (bytes) bytes->clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(DOCUMENT_CODE_PAGE, STRICT_CONVERSION, text, count, nullptr, 0, nullptr,
                                       &usedDefault);
  if (size <= 0 || usedDefault) return false;
  std::string narrow(static_cast<std::size_t>(size), '\0');
  usedDefault = FALSE;
  if (WideCharToMultiByte(DOCUMENT_CODE_PAGE, STRICT_CONVERSION, text, count, &narrow[0], size, nullptr,
                          &usedDefault) != size ||
      usedDefault) {
    return false;
  }
  // Whatever a conversion replaced without saying so does not come back.
  std::vector<wchar_t> back(static_cast<std::size_t>(count) + 1);
  const int wide = MultiByteToWideChar(DOCUMENT_CODE_PAGE, MB_ERR_INVALID_CHARS, narrow.data(), size, back.data(),
                                       count + 1);
  if (wide != count || std::wmemcmp(back.data(), text, static_cast<std::size_t>(count)) != 0) return false;
  if (bytes) bytes->swap(narrow);
  return true;
}

// Called only once the whole text failed: the first character, whole
// surrogate pairs taken together, that does not convert exactly.
UnsavableCharacter FindUnsavable(const std::wstring& text) {
  UnsavableCharacter where;
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t units = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
    if (!ConvertsExactly(text.data() + i, static_cast<int>(units), nullptr)) {
      where.line = line;
      where.character = text.substr(i, units);
      return where;
    }
    if (text[i] == L'\n') ++line;
    i += units;
  }
  where.line = line;  // the text failed as a whole only: blame its end
  return where;
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
  if (bytes.size() > MAX_DOCUMENT_BYTES) return FileResult::TooLarge;
  // A name the system makes unique, in the target's folder so that the
  // replacement is a rename on one volume; no file of the user's is touched.
  const std::string folder = FolderOf(path);
  char name[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "vx", 0, name)) {
    return FileResult::FolderNotWritable;
  }
  TemporaryFile temporary(name);
  {
    FileHandle file(CreateFileA(temporary.Name(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE) return FileResult::FolderNotWritable;
    if (!WriteAll(file.handle, bytes) || !FlushFileBuffers(file.handle)) return FileResult::WriteFailed;
  }
  if (!MoveFileExA(temporary.Name(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return FileResult::WriteFailed;
  }
  temporary.Keep();
  return FileResult::Ok;
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

FileResult EditTextForSaving(HWND edit, std::string& bytes, UnsavableCharacter& where) {
  if (!edit || !IsWindow(edit)) return FileResult::EditUnreadable;
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextLengthW(edit);  // may overestimate, never underestimates
  if (length < 0 || (length == 0 && GetLastError() != ERROR_SUCCESS)) return FileResult::EditUnreadable;
  // Each UTF-16 unit needs at most two bytes: a longer text cannot be saved.
  if (static_cast<unsigned long long>(length) > MAX_DOCUMENT_BYTES * 2ull) return FileResult::TooLarge;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SetLastError(ERROR_SUCCESS);
  const int copied = GetWindowTextW(edit, &text[0], length + 1);
  if (copied < 0 || (copied == 0 && (length > 0 || GetLastError() != ERROR_SUCCESS))) {
    return FileResult::EditUnreadable;
  }
  text.resize(static_cast<std::size_t>(copied));
  std::string converted;
  if (!ConvertsExactly(text.data(), static_cast<int>(text.size()), &converted)) {
    where = FindUnsavable(text);
    return FileResult::Unsavable;
  }
  bytes.swap(converted);
  return FileResult::Ok;
}

FileResult SaveFromEdit(HWND edit, const char* path, UnsavableCharacter& where) {
  std::string bytes;
  FileResult result = EditTextForSaving(edit, bytes, where);
  if (result != FileResult::Ok) return result;
  result = WriteDocument(path, bytes);
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
    case FileResult::FolderNotWritable: return "保存先のフォルダーに新しいファイルを作れません。書き込めるフォルダーを選んでください。保存していません。";
    case FileResult::EditUnreadable: return "編集中の文書を読み取れませんでした。保存していません。";
    case FileResult::Unsavable: return "シフトJISで保存できない文字があります。保存していません。";
  }
  return "";
}

std::wstring WideFromCp932(const char* text) {
  const int size = MultiByteToWideChar(DOCUMENT_CODE_PAGE, 0, text, -1, nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(DOCUMENT_CODE_PAGE, 0, text, -1, &wide[0], size);
  wide.resize(static_cast<std::size_t>(size) - 1);
  return wide;
}

std::wstring DescribeUnsavable(const UnsavableCharacter& where) {
  char line[64];
  std::snprintf(line, sizeof line, "%lu 行目の文字「", static_cast<unsigned long>(where.line));
  std::wstring text = WideFromCp932(line) + where.character;
  char code[96];
  const wchar_t* c = where.character.c_str();
  const unsigned long point = where.character.size() == 2
                                  ? 0x10000ul + ((c[0] - 0xD800ul) << 10) + (c[1] - 0xDC00ul)
                                  : where.character.empty() ? 0ul : static_cast<unsigned long>(c[0]);
  std::snprintf(code, sizeof code, "」(U+%04lX) はシフトJISで保存できません。", point);
  return text + WideFromCp932(code) +
         WideFromCp932("この文字を消すか置き換えてから保存してください。文書は保存していません。");
}

}  // namespace vxhost
