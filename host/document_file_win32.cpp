#include "host/document_file_win32.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "host/path_names.h"
#include "hostkit/code_page_text_win32.h"
#include "hostkit/paths_win32.h"

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

// The file a save writes first: deleted on every way out but the one that
// made it the user's file.
class TemporaryFile {
 public:
  explicit TemporaryFile(const wchar_t* path) : path_(path) {}
  ~TemporaryFile() {
    if (!kept_) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const wchar_t* Name() const { return path_.c_str(); }
  void Keep() { kept_ = true; }

 private:
  std::wstring path_;
  bool kept_ = false;
};

constexpr char UTF8_BOM[] = "\xEF\xBB\xBF";
constexpr std::size_t UTF8_BOM_SIZE = 3;
// Names a save tries for its own file before it gives up on the folder.
constexpr unsigned TEMPORARY_NAME_TRIES = 100;

UINT CodePageOf(Encoding encoding) { return encoding == Encoding::Utf8 ? CP_UTF8 : SHIFT_JIS_CODE_PAGE; }

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Strict decoding: false for any byte sequence that is no character.
bool Decode(UINT codePage, const char* bytes, std::size_t count, std::wstring* text) {
  return ToWide(codePage, std::string_view(bytes, count), text, MB_ERR_INVALID_CHARS);
}

// Converts text and back; true when the bytes are exact. No best-fit
// look-alike ("a" for "a" with a ring) and no replacement goes unnoticed.
bool ConvertsExactly(UINT codePage, const wchar_t* text, int count, std::string* bytes) {
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  std::string narrow;
  bool exact = true;
  if (!ToNarrow(codePage, std::wstring_view(text, static_cast<std::size_t>(count)), narrow, flags, &exact) || !exact) {
    return false;
  }
  std::wstring back;
  if (!Decode(codePage, narrow.data(), narrow.size(), &back) || back.size() != static_cast<std::size_t>(count) ||
      std::wmemcmp(back.data(), text, static_cast<std::size_t>(count)) != 0) {
    return false;
  }
  if (bytes) bytes->swap(narrow);
  return true;
}

// Called only once the whole text failed: the first character, whole
// surrogate pairs taken together, that does not convert exactly.
UnsavableCharacter FindUnsavable(UINT codePage, const std::wstring& text) {
  UnsavableCharacter where;
  std::size_t line = 1;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t units = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
    if (!ConvertsExactly(codePage, text.data() + i, static_cast<int>(units), nullptr)) {
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

// The bytes one character takes at bytes[i], as far as its first byte tells.
std::size_t CharacterLength(UINT codePage, const std::string& bytes, std::size_t i) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  std::size_t length = 1;
  if (codePage == CP_UTF8) {
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  } else if (IsDBCSLeadByteEx(codePage, lead)) {
    length = 2;
  }
  return std::min(length, bytes.size() - i);
}

// Called only once the whole file failed: lines first (a line end is never
// part of a character in either encoding), then the failing line's characters.
InvalidByte FindInvalid(UINT codePage, const std::string& bytes) {
  InvalidByte invalid;
  std::size_t line = 1;
  for (std::size_t start = 0; start <= bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    if (!Decode(codePage, bytes.data() + start, end - start, nullptr)) {
      for (std::size_t i = start; i < end;) {
        const std::size_t length = CharacterLength(codePage, bytes, i);
        if (!Decode(codePage, bytes.data() + i, length, nullptr)) {
          invalid.line = line;
          invalid.column = i - start + 1;
          invalid.value = static_cast<unsigned char>(bytes[i]);
          return invalid;
        }
        i += length;
      }
    }
    if (end == bytes.size()) break;
    start = end;
    ++line;
  }
  invalid.line = line;
  invalid.column = 1;
  return invalid;
}

// Lines of a code page 932 text whose bytes a save would write otherwise.
// A line end is the same byte in the file as in the text, so the file's
// lines and the text's lines are the same lines.
void KeepIrregularLines(const std::string& bytes, const std::wstring& text, DocumentFormat& format) {
  std::string again;
  if (ConvertsExactly(SHIFT_JIS_CODE_PAGE, text.data(), static_cast<int>(text.size()), &again) && again == bytes) {
    return;
  }
  const std::vector<std::string_view> byteLines = SplitLines(std::string_view(bytes));
  std::vector<KeptLine> kept;
  for (std::size_t i = 0; i < byteLines.size(); ++i) {
    const std::string_view original = byteLines[i];
    std::wstring line;
    std::string written;
    Decode(SHIFT_JIS_CODE_PAGE, original.data(), original.size(), &line);
    if (!ConvertsExactly(SHIFT_JIS_CODE_PAGE, line.data(), static_cast<int>(line.size()), &written) ||
        written != original) {
      kept.push_back(KeptLine{i, std::string(original)});
    }
  }
  format.kept = KeptLines(SplitLines(std::wstring_view(text)), std::move(kept));
}

// A failed CreateFileW as the user reads it.
FileResult OpenFailure(FileResult otherwise) {
  const DWORD error = GetLastError();
  return error == ERROR_FILENAME_EXCED_RANGE ? FileResult::PathTooLong : otherwise;
}

// A name of the save's own beside the target, made by this call: CREATE_NEW
// never takes over a file that exists, a stranger's or another save's.
FileResult CreateTemporary(const std::wstring& folder, std::wstring& name, HANDLE& handle) {
  static unsigned counter = 0;
  for (unsigned attempt = 0; attempt < TEMPORARY_NAME_TRIES; ++attempt) {
    wchar_t unique[32];
    const unsigned long value = (GetCurrentProcessId() << 12) ^ GetTickCount() ^ (++counter * 2654435761u);
    wsprintfW(unique, L"vx%08lX.tmp", value & 0xFFFFFFFFul);
    name = folder + unique;
    handle = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return FileResult::Ok;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return OpenFailure(FileResult::FolderNotWritable);
  }
  return FileResult::FolderNotWritable;
}

bool HasUtf8Bom(const std::string& bytes) { return bytes.compare(0, UTF8_BOM_SIZE, UTF8_BOM) == 0; }

}  // namespace

std::wstring SystemPath(const std::wstring& path) { return ExtendedLengthPath(FullPath(path)); }

FileResult ReadDocument(const wchar_t* path, std::string& bytes, std::size_t limit) {
  if (!path || !*path) return FileResult::CannotOpen;
  if (IsDeviceName(path)) return FileResult::DeviceName;
  FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return OpenFailure(FileResult::CannotOpen);
  if (GetFileType(file.handle) != FILE_TYPE_DISK) return FileResult::DeviceName;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.handle, &size)) return FileResult::ReadFailed;
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit) return FileResult::TooLarge;
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 24));
    if (!ReadFile(file.handle, &content[done], chunk, &got, nullptr)) return FileResult::ReadFailed;
    if (got == 0) break;  // the file shrank while we read it
    done += got;
  }
  content.resize(done);
  bytes.swap(content);
  return FileResult::Ok;
}

FileResult WriteDocument(const wchar_t* path, const std::string& bytes, std::size_t limit) {
  if (!path || !*path) return FileResult::CannotOpen;
  if (IsDeviceName(path)) return FileResult::DeviceName;
  if (bytes.size() > limit) return FileResult::TooLarge;
  // In the target's folder, so that the replacement is a rename on one
  // volume; no file of the user's is touched until then.
  const std::wstring target = SystemPath(path);
  std::wstring name;
  HANDLE handle = INVALID_HANDLE_VALUE;
  const FileResult created = CreateTemporary(FolderOf(target), name, handle);
  if (created != FileResult::Ok) return created;
  TemporaryFile temporary(name.c_str());
  {
    FileHandle file(handle);
    if (!WriteAll(file.handle, bytes) || !FlushFileBuffers(file.handle)) return FileResult::WriteFailed;
  }
  if (!MoveFileExW(temporary.Name(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return OpenFailure(FileResult::WriteFailed);
  }
  temporary.Keep();
  return FileResult::Ok;
}

DeclaredCharset DeclaredIn(const std::wstring& text, Encoding encoding) {
  // The bytes a browser would scan: the start of the file as saved, with a
  // stand-in for what the encoding lacks (the declaration itself is ASCII).
  return PrescanCharset(ToNarrow(CodePageOf(encoding), std::wstring_view(text).substr(0, CHARSET_SCAN_BYTES)));
}

EncodingGuess GuessDocumentEncoding(const std::string& bytes) {
  return GuessEncoding(bytes, [&bytes](Encoding encoding) {
    return Decode(CodePageOf(encoding), bytes.data(), bytes.size(), nullptr);
  });
}

FileResult DecodeDocument(const std::string& bytes, Encoding encoding, std::wstring& text, DocumentFormat& format,
                          InvalidByte& invalid) {
  if (bytes.find('\0') != std::string::npos) return FileResult::NotText;
  DocumentFormat read;
  read.encoding = encoding;
  read.byteOrderMark = encoding == Encoding::Utf8 && HasUtf8Bom(bytes);
  const std::string body = read.byteOrderMark ? bytes.substr(UTF8_BOM_SIZE) : bytes;
  std::wstring decoded;
  if (!Decode(CodePageOf(encoding), body.data(), body.size(), &decoded)) {
    invalid = FindInvalid(CodePageOf(encoding), body);
    if (read.byteOrderMark && invalid.line == 1) invalid.column += UTF8_BOM_SIZE;
    return FileResult::InvalidBytes;
  }
  if (encoding == Encoding::ShiftJis) KeepIrregularLines(body, decoded, read);
  text.swap(decoded);
  format = std::move(read);
  return FileResult::Ok;
}

FileResult EncodeDocument(const std::wstring& text, const DocumentFormat& format, std::string& bytes,
                          UnsavableCharacter& where, KeptLines* after) {
  const UINT codePage = CodePageOf(format.encoding);
  std::string encoded = format.byteOrderMark ? std::string(UTF8_BOM) : std::string();
  bool exact = true;
  std::vector<std::wstring_view> lines;
  std::vector<const std::string*> matches;
  if (format.kept.Empty()) {
    std::string all;
    exact = ConvertsExactly(codePage, text.data(), static_cast<int>(text.size()), &all);
    encoded += all;
  } else {
    lines = SplitLines(std::wstring_view(text));
    matches = format.kept.Match(lines);
    for (std::size_t i = 0; exact && i < lines.size(); ++i) {
      std::string lineBytes;
      if (matches[i]) {
        encoded += *matches[i];
      } else if ((exact = ConvertsExactly(codePage, lines[i].data(), static_cast<int>(lines[i].size()), &lineBytes))) {
        encoded += lineBytes;
      }
    }
  }
  if (!exact) {
    where = FindUnsavable(codePage, text);
    return FileResult::Unsavable;
  }
  if (after) *after = KeptLines::After(lines, matches);
  bytes.swap(encoded);
  return FileResult::Ok;
}

FileResult ReadEditText(HWND edit, std::wstring& text) {
  if (!edit || !IsWindow(edit)) return FileResult::EditUnreadable;
  SetLastError(ERROR_SUCCESS);
  const int length = GetWindowTextLengthW(edit);  // may overestimate, never underestimates
  if (length < 0 || (length == 0 && GetLastError() != ERROR_SUCCESS)) return FileResult::EditUnreadable;
  // Each UTF-16 unit takes at least one byte in either encoding: a longer text cannot be saved.
  if (static_cast<unsigned long long>(length) > MAX_DOCUMENT_BYTES) return FileResult::TooLarge;
  std::wstring read(static_cast<std::size_t>(length) + 1, L'\0');
  SetLastError(ERROR_SUCCESS);
  const int copied = GetWindowTextW(edit, &read[0], length + 1);
  if (copied < 0 || (copied == 0 && (length > 0 || GetLastError() != ERROR_SUCCESS))) {
    return FileResult::EditUnreadable;
  }
  read.resize(static_cast<std::size_t>(copied));
  text.swap(read);
  return FileResult::Ok;
}

std::string EditText(HWND edit) {
  std::wstring text;
  if (ReadEditText(edit, text) != FileResult::Ok) return std::string();
  return ToNarrow(SHIFT_JIS_CODE_PAGE, text);
}

FileResult LoadIntoEdit(HWND edit, const wchar_t* path, const Encoding* encoding, DocumentFormat& format,
                        InvalidByte& invalid, EncodingGuess* guessed) {
  std::string bytes;
  FileResult result = ReadDocument(path, bytes);
  if (result != FileResult::Ok) return result;
  std::wstring text;
  DocumentFormat read;
  EncodingGuess guess;
  if (encoding) {
    guess.encoding = *encoding;
  } else {
    guess = GuessDocumentEncoding(bytes);
  }
  if (guessed) *guessed = guess;
  const Encoding tried = guess.encoding;
  result = DecodeDocument(bytes, tried, text, read, invalid);
  if (result == FileResult::InvalidBytes) format.encoding = tried;
  if (result != FileResult::Ok) return result;
  if (!SetWindowTextW(edit, text.c_str())) return FileResult::ReadFailed;
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  format = std::move(read);
  return FileResult::Ok;
}

FileResult SaveFromEdit(HWND edit, const wchar_t* path, DocumentFormat& format, UnsavableCharacter& where) {
  std::wstring text;
  FileResult result = ReadEditText(edit, text);
  if (result != FileResult::Ok) return result;
  std::string bytes;
  KeptLines after;
  result = EncodeDocument(text, format, bytes, where, &after);
  if (result != FileResult::Ok) return result;
  result = WriteDocument(path, bytes);
  if (result != FileResult::Ok) return result;
  format.kept = std::move(after);
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  return result;
}

}  // namespace vxhost
