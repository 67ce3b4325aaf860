#include "host/document_file_win32.h"

#include <algorithm>
#include <cwchar>
#include <vector>

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
constexpr std::size_t CHARSET_SCAN_BYTES = 1024;

UINT CodePageOf(Encoding encoding) { return encoding == Encoding::Utf8 ? CP_UTF8 : SHIFT_JIS_CODE_PAGE; }

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Strict decoding: false for any byte sequence that is no character.
bool Decode(UINT codePage, const char* bytes, std::size_t count, std::wstring* text) {
  if (count == 0) {
    if (text) text->clear();
    return true;
  }
  const int size = static_cast<int>(count);
  const int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
  if (wide <= 0) return false;
  if (!text) return true;
  text->assign(static_cast<std::size_t>(wide), L'\0');
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, size, &(*text)[0], wide) == wide;
}

// Converts text and back; true when the bytes are exact. No best-fit
// look-alike ("a" for "a" with a ring) and no replacement goes unnoticed.
bool ConvertsExactly(UINT codePage, const wchar_t* text, int count, std::string* bytes) {
  if (count == 0) {
    if (bytes) bytes->clear();
    return true;
  }
  const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* defaultUsed = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, text, count, nullptr, 0, nullptr, defaultUsed);
  if (size <= 0 || usedDefault) return false;
  std::string narrow(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(codePage, flags, text, count, &narrow[0], size, nullptr, defaultUsed) != size ||
      usedDefault) {
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
void KeepIrregularLines(const std::string& bytes, const std::wstring& text, DocumentFormat& format) {
  std::string again;
  if (ConvertsExactly(SHIFT_JIS_CODE_PAGE, text.data(), static_cast<int>(text.size()), &again) && again == bytes) {
    return;
  }
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    const std::string original = bytes.substr(start, end - start);
    std::wstring line;
    std::string written;
    Decode(SHIFT_JIS_CODE_PAGE, original.data(), original.size(), &line);
    if (!ConvertsExactly(SHIFT_JIS_CODE_PAGE, line.data(), static_cast<int>(line.size()), &written) ||
        written != original) {
      format.keptLines.emplace(line, original);
    }
    start = end;
  }
}

bool HasUtf8Bom(const std::string& bytes) { return bytes.compare(0, UTF8_BOM_SIZE, UTF8_BOM) == 0; }

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::wstring AsciiLower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return AsciiLower(c); });
  return text;
}

struct CharsetAlias {
  const wchar_t* name;
  Encoding encoding;
};

static constexpr CharsetAlias CHARSET_ALIASES[] = {
    {L"utf-8",       Encoding::Utf8},
    {L"utf8",        Encoding::Utf8},
    {L"shift_jis",   Encoding::ShiftJis},
    {L"shift-jis",   Encoding::ShiftJis},
    {L"sjis",        Encoding::ShiftJis},
    {L"x-sjis",      Encoding::ShiftJis},
    {L"windows-31j", Encoding::ShiftJis},
    {L"cp932",       Encoding::ShiftJis},
    {L"ms932",       Encoding::ShiftJis},
};

}  // namespace

FileResult ReadDocument(const wchar_t* path, std::string& bytes) {
  if (!path || !*path) return FileResult::CannotOpen;
  FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
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
  bytes.swap(content);
  return FileResult::Ok;
}

FileResult WriteDocument(const wchar_t* path, const std::string& bytes) {
  if (!path || !*path) return FileResult::CannotOpen;
  if (bytes.size() > MAX_DOCUMENT_BYTES) return FileResult::TooLarge;
  // A name the system makes unique, in the target's folder so that the
  // replacement is a rename on one volume; no file of the user's is touched.
  const std::wstring folder = FolderOf(std::wstring(path));
  wchar_t name[MAX_PATH];
  if (!GetTempFileNameW(folder.empty() ? L"." : folder.c_str(), L"vx", 0, name)) {
    return FileResult::FolderNotWritable;
  }
  TemporaryFile temporary(name);
  {
    FileHandle file(CreateFileW(temporary.Name(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.handle == INVALID_HANDLE_VALUE) return FileResult::FolderNotWritable;
    if (!WriteAll(file.handle, bytes) || !FlushFileBuffers(file.handle)) return FileResult::WriteFailed;
  }
  if (!MoveFileExW(temporary.Name(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return FileResult::WriteFailed;
  }
  temporary.Keep();
  return FileResult::Ok;
}

std::wstring DeclaredCharset(const std::wstring& text) {
  const std::wstring lower = AsciiLower(text);
  for (std::size_t meta = lower.find(L"<meta"); meta != std::wstring::npos; meta = lower.find(L"<meta", meta + 1)) {
    const std::size_t close = lower.find(L'>', meta);
    const std::size_t charset = lower.find(L"charset", meta);
    if (charset == std::wstring::npos || (close != std::wstring::npos && charset > close)) continue;
    std::size_t i = charset + 7;
    while (i < lower.size() && (lower[i] == L' ' || lower[i] == L'\t')) ++i;
    if (i >= lower.size() || lower[i] != L'=') continue;
    ++i;
    while (i < lower.size() && (lower[i] == L' ' || lower[i] == L'\t' || lower[i] == L'"' || lower[i] == L'\'')) ++i;
    const std::size_t end = lower.find_first_of(L"\"' \t;/>\r\n", i);
    const std::wstring name = text.substr(i, (end == std::wstring::npos ? lower.size() : end) - i);
    if (!name.empty()) return name;
  }
  return std::wstring();
}

bool CharsetNames(const std::wstring& charset, Encoding encoding) {
  const std::wstring lower = AsciiLower(charset);
  for (const CharsetAlias& alias : CHARSET_ALIASES) {
    if (lower == alias.name) return alias.encoding == encoding;
  }
  return false;
}

Encoding GuessEncoding(const std::string& bytes) {
  if (HasUtf8Bom(bytes)) return Encoding::Utf8;
  // The declaration is ASCII in both encodings, and browsers look for it in
  // the first 1024 bytes only; each byte as one character is all the search needs.
  const std::string head = bytes.substr(0, CHARSET_SCAN_BYTES);
  std::wstring declaredIn(head.size(), L' ');
  std::transform(head.begin(), head.end(), declaredIn.begin(),
                 [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
  const std::wstring declared = DeclaredCharset(declaredIn);
  const bool utf8 = Decode(CP_UTF8, bytes.data(), bytes.size(), nullptr);
  const bool shiftJis = utf8 || Decode(SHIFT_JIS_CODE_PAGE, bytes.data(), bytes.size(), nullptr);
  if (CharsetNames(declared, Encoding::ShiftJis) && shiftJis) return Encoding::ShiftJis;
  if (CharsetNames(declared, Encoding::Utf8) && utf8) return Encoding::Utf8;
  if (utf8) return Encoding::Utf8;
  if (shiftJis || !CharsetNames(declared, Encoding::Utf8)) return Encoding::ShiftJis;
  return Encoding::Utf8;
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
                          UnsavableCharacter& where) {
  const UINT codePage = CodePageOf(format.encoding);
  std::string encoded = format.byteOrderMark ? std::string(UTF8_BOM) : std::string();
  bool exact = true;
  if (format.keptLines.empty()) {
    std::string all;
    exact = ConvertsExactly(codePage, text.data(), static_cast<int>(text.size()), &all);
    encoded += all;
  } else {
    for (std::size_t start = 0; exact && start < text.size();) {
      std::size_t end = text.find(L'\n', start);
      end = end == std::wstring::npos ? text.size() : end + 1;
      const std::wstring line = text.substr(start, end - start);
      const auto kept = format.keptLines.find(line);
      std::string lineBytes;
      if (kept != format.keptLines.end()) {
        encoded += kept->second;
      } else if ((exact = ConvertsExactly(codePage, line.data(), static_cast<int>(line.size()), &lineBytes))) {
        encoded += lineBytes;
      }
      start = end;
    }
  }
  if (!exact) {
    where = FindUnsavable(codePage, text);
    return FileResult::Unsavable;
  }
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
  if (ReadEditText(edit, text) != FileResult::Ok || text.empty()) return std::string();
  const int count = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(SHIFT_JIS_CODE_PAGE, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(SHIFT_JIS_CODE_PAGE, 0, text.data(), count, &bytes[0], size, nullptr, nullptr);
  return bytes;
}

FileResult LoadIntoEdit(HWND edit, const wchar_t* path, const Encoding* encoding, DocumentFormat& format,
                        InvalidByte& invalid) {
  std::string bytes;
  FileResult result = ReadDocument(path, bytes);
  if (result != FileResult::Ok) return result;
  std::wstring text;
  DocumentFormat read;
  const Encoding tried = encoding ? *encoding : GuessEncoding(bytes);
  result = DecodeDocument(bytes, tried, text, read, invalid);
  if (result == FileResult::InvalidBytes) format.encoding = tried;
  if (result != FileResult::Ok) return result;
  if (!SetWindowTextW(edit, text.c_str())) return FileResult::ReadFailed;
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  format = std::move(read);
  return FileResult::Ok;
}

FileResult SaveFromEdit(HWND edit, const wchar_t* path, const DocumentFormat& format, UnsavableCharacter& where) {
  std::wstring text;
  FileResult result = ReadEditText(edit, text);
  if (result != FileResult::Ok) return result;
  std::string bytes;
  result = EncodeDocument(text, format, bytes, where);
  if (result != FileResult::Ok) return result;
  result = WriteDocument(path, bytes);
  if (result == FileResult::Ok) SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  return result;
}

const wchar_t* EncodingName(Encoding encoding) { return encoding == Encoding::Utf8 ? L"UTF-8" : L"Shift_JIS"; }

}  // namespace vxhost
