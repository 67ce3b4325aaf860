#include "host/recovery_win32.h"

#include <shlobj.h>

#include <cstdlib>

#include "hostkit/paths_win32.h"

namespace vxhost {
namespace {

// The header names the format, the document and how to write it back; the
// length lets a cut-off file be told from a whole one.
constexpr char SIGNATURE[] = "VX-HOST-RECOVERY 1";
constexpr wchar_t RECOVERY_SUFFIX[] = L".vxrecovery";
constexpr wchar_t UNTITLED_RECOVERY[] = L"vxhost\\untitled.vxrecovery";

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int count = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), count, &bytes[0], size, nullptr, nullptr);
  return bytes;
}

bool FromUtf8(const std::string& bytes, DWORD flags, std::wstring& text) {
  text.clear();
  if (bytes.empty()) return true;
  const int count = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_UTF8, flags, bytes.data(), count, nullptr, 0);
  if (size <= 0) return false;
  text.assign(static_cast<std::size_t>(size), L'\0');
  return MultiByteToWideChar(CP_UTF8, flags, bytes.data(), count, &text[0], size) == size;
}

// One "name=value" line of the header starting at position; moves past it.
bool HeaderField(const std::string& bytes, std::size_t& position, const char* name, std::string& value) {
  const std::size_t end = bytes.find('\n', position);
  if (end == std::string::npos) return false;
  const std::string line = bytes.substr(position, end - position);
  const std::string prefix = std::string(name) + "=";
  if (line.compare(0, prefix.size(), prefix) != 0) return false;
  value = line.substr(prefix.size());
  position = end + 1;
  return true;
}

bool Parse(const std::string& bytes, Recovery& recovery) {
  std::size_t position = sizeof SIGNATURE;  // the signature and its line end
  if (bytes.compare(0, sizeof SIGNATURE - 1, SIGNATURE) != 0 || bytes.size() < position ||
      bytes[position - 1] != '\n') {
    return false;
  }
  std::string document, encoding, bom, length;
  if (!HeaderField(bytes, position, "document", document) || !HeaderField(bytes, position, "encoding", encoding) ||
      !HeaderField(bytes, position, "bom", bom) || !HeaderField(bytes, position, "length", length) ||
      position >= bytes.size() || bytes[position] != '\n') {
    return false;
  }
  ++position;
  char* end = nullptr;
  const unsigned long long size = std::strtoull(length.c_str(), &end, 10);
  if (length.empty() || *end != '\0' || size != bytes.size() - position) return false;
  if (encoding != "UTF-8" && encoding != "Shift_JIS") return false;
  if (bom != "0" && bom != "1") return false;
  Recovery read;
  read.encoding = encoding == "UTF-8" ? Encoding::Utf8 : Encoding::ShiftJis;
  read.byteOrderMark = bom == "1";
  if (!FromUtf8(document, MB_ERR_INVALID_CHARS, read.document) ||
      !FromUtf8(bytes.substr(position), MB_ERR_INVALID_CHARS, read.text)) {
    return false;
  }
  recovery = std::move(read);
  return true;
}

}  // namespace

std::wstring RecoveryFileFor(const std::wstring& document) {
  if (!document.empty()) return document + RECOVERY_SUFFIX;
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return std::wstring();
  }
  const std::wstring file = std::wstring(folder) + L"\\" + UNTITLED_RECOVERY;
  CreateDirectoryW(FolderOf(file).c_str(), nullptr);
  return file;
}

bool WriteRecovery(const std::wstring& file, const Recovery& recovery) {
  if (file.empty()) return false;
  const std::string text = Utf8(recovery.text);
  const std::string bytes = std::string(SIGNATURE) + "\ndocument=" + Utf8(recovery.document) +
                            "\nencoding=" + (recovery.encoding == Encoding::Utf8 ? "UTF-8" : "Shift_JIS") +
                            "\nbom=" + (recovery.byteOrderMark ? "1" : "0") + "\nlength=" +
                            std::to_string(text.size()) + "\n\n" + text;
  if (WriteDocument(file.c_str(), bytes) != FileResult::Ok) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, RECOVERY_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExW(key, PENDING_RECOVERY_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                                     static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

RecoveryRead ReadRecovery(const std::wstring& file, Recovery& recovery, std::wstring& raw) {
  std::string bytes;
  const FileResult result = ReadDocument(file.c_str(), bytes);
  if (result == FileResult::CannotOpen) return RecoveryRead::Missing;
  if (result == FileResult::Ok && Parse(bytes, recovery)) return RecoveryRead::Ok;
  // Shown as it is: a NUL would end the edit control's text, so it shows as a space.
  for (char& c : bytes) {
    if (c == '\0') c = ' ';
  }
  FromUtf8(bytes, 0, raw);
  return RecoveryRead::Damaged;
}

std::wstring PendingRecovery() {
  wchar_t file[MAX_PATH * 2] = {};
  DWORD size = sizeof file - sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, RECOVERY_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::wstring();
  const LONG status = RegQueryValueExW(key, PENDING_RECOVERY_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(file), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::wstring();
  return std::wstring(file);
}

void ForgetPendingRecovery() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, RECOVERY_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, PENDING_RECOVERY_VALUE);
  RegCloseKey(key);
}

}  // namespace vxhost
