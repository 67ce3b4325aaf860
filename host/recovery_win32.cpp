#include "host/recovery_win32.h"

#include <shlobj.h>

#include <algorithm>

#include "hostkit/code_page_text_win32.h"
#include "hostkit/paths_win32.h"

namespace vxhost {
namespace {

constexpr wchar_t RECOVERY_SUFFIX[] = L".vxrecovery";
constexpr wchar_t RECOVERY_FOLDER[] = L"vxhost\\";
constexpr wchar_t UNTITLED_NAME[] = L"untitled";
// Names tried in one folder before the next folder is.
constexpr unsigned RECOVERY_NAME_TRIES = 100;

std::string Utf8(const std::wstring& text) { return ToNarrow(CP_UTF8, text); }

bool FromUtf8(const std::string& bytes, DWORD flags, std::wstring& text) {
  text.clear();
  return ToWide(CP_UTF8, bytes, &text, flags);
}

// The user's application data folder for the editor, with its separator;
// empty when the system names none.
std::wstring ApplicationDataFolder() {
  // The call's own limit: the folder it names is never longer.
  std::wstring folder(MAX_PATH, L'\0');
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, &folder[0]))) {
    return std::wstring();
  }
  folder.resize(folder.find(L'\0'));
  const std::wstring mine = folder + L"\\" + RECOVERY_FOLDER;
  CreateDirectoryW(SystemPath(mine).c_str(), nullptr);
  return mine;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(FolderOf(path).size()); }

// Takes a name in folder that no file has: the empty file made here keeps it
// from any other window until the recovery replaces it.
std::wstring ReserveName(const std::wstring& folder, const std::wstring& stem) {
  for (unsigned i = 1; i <= RECOVERY_NAME_TRIES; ++i) {
    const std::wstring name =
        folder + stem + (i == 1 ? std::wstring() : L"." + std::to_wstring(i)) + RECOVERY_SUFFIX;
    HANDLE file = CreateFileW(SystemPath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return name;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return std::wstring();
}

// A value name that sorts by the time it was made, unique to this window.
std::wstring RecordName() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  static unsigned counter = 0;
  wchar_t name[64];
  wsprintfW(name, L"%08lX%08lX-%08lX-%04X", now.dwHighDateTime, now.dwLowDateTime,
            static_cast<unsigned long>(GetCurrentProcessId()), ++counter & 0xFFFFu);
  return name;
}

bool SetValue(const wchar_t* keyPath, const std::wstring& name, const std::wstring& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

struct Value {
  std::wstring name;
  std::wstring data;
};

// Every REG_SZ value of a key, by name, read at whatever length it has.
std::vector<Value> Values(const wchar_t* keyPath) {
  std::vector<Value> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
  DWORD nameMax = 0, dataMax = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameMax, &dataMax, nullptr,
                       nullptr) == ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      std::wstring name(nameMax + 1, L'\0');
      std::wstring data(dataMax / sizeof(wchar_t) + 1, L'\0');
      DWORD nameSize = nameMax + 1, dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t)), type = 0;
      const LONG status = RegEnumValueW(key, i, &name[0], &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                                        &dataSize);
      if (status != ERROR_SUCCESS) break;
      if (type != REG_SZ) continue;
      name.resize(nameSize);
      data.resize(std::min<std::size_t>(data.size(), dataSize / sizeof(wchar_t)));
      data.resize(std::min(data.size(), data.find(L'\0')));
      values.push_back(Value{name, data});
    }
  }
  RegCloseKey(key);
  std::sort(values.begin(), values.end(), [](const Value& a, const Value& b) { return a.name < b.name; });
  return values;
}

void DeleteValue(const wchar_t* keyPath, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

std::wstring LegacyPending() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, RECOVERY_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::wstring();
  DWORD size = 0, type = 0;
  std::wstring file;
  if (RegQueryValueExW(key, PENDING_RECOVERY_VALUE, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    file.assign(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, PENDING_RECOVERY_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&file[0]), &size) !=
        ERROR_SUCCESS) {
      file.clear();
    }
    file.resize(std::min(file.size(), file.find(L'\0')));
  }
  RegCloseKey(key);
  return file;
}

}  // namespace

std::optional<DiskState> DiskStateOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExW(SystemPath(path).c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  DiskState state;
  state.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  state.writeTime =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return state;
}

std::wstring KeepRecovery(const Recovery& recovery) {
  const std::wstring stem = recovery.document.empty() ? std::wstring(UNTITLED_NAME) : NameOf(recovery.document);
  std::vector<std::wstring> folders;
  if (!recovery.document.empty()) folders.push_back(FolderOf(recovery.document));
  const std::wstring own = ApplicationDataFolder();
  if (!own.empty()) folders.push_back(own);
  for (const std::wstring& folder : folders) {
    const std::wstring file = ReserveName(folder, stem);
    if (file.empty()) continue;
    if (WriteRecovery(file, recovery)) return file;
    DeleteFileW(SystemPath(file).c_str());
  }
  return std::wstring();
}

bool WriteRecovery(const std::wstring& file, const Recovery& recovery) {
  if (file.empty()) return false;
  RecoveryRecord record;
  record.document = Utf8(recovery.document);
  record.encoding = recovery.encoding;
  record.byteOrderMark = recovery.byteOrderMark;
  record.disk = recovery.disk;
  record.kept = recovery.kept;
  record.text = Utf8(recovery.text);
  if (WriteDocument(file.c_str(), FormatRecovery(record), MAX_RECOVERY_BYTES) != FileResult::Ok) return false;
  ForgetPendingRecovery(file);
  return SetValue(PENDING_RECOVERIES_KEY, RecordName(), file);
}

RecoveryRead ReadRecovery(const std::wstring& file, Recovery& recovery, std::wstring& raw) {
  std::string bytes;
  const FileResult result = ReadDocument(file.c_str(), bytes, MAX_RECOVERY_BYTES);
  if (result == FileResult::CannotOpen) return GetFileAttributesW(SystemPath(file).c_str()) == INVALID_FILE_ATTRIBUTES
                                                   ? RecoveryRead::Missing
                                                   : RecoveryRead::Unreadable;
  if (result != FileResult::Ok) return RecoveryRead::Unreadable;
  RecoveryRecord record;
  Recovery read;
  if (ParseRecovery(bytes, record) && FromUtf8(record.document, MB_ERR_INVALID_CHARS, read.document) &&
      FromUtf8(record.text, MB_ERR_INVALID_CHARS, read.text)) {
    read.encoding = record.encoding;
    read.byteOrderMark = record.byteOrderMark;
    read.disk = record.disk;
    read.diskRecorded = record.diskRecorded;
    read.kept = std::move(record.kept);
    recovery = std::move(read);
    return RecoveryRead::Ok;
  }
  // Shown as it is: a NUL would end the edit control's text, so it shows as a space.
  std::replace(bytes.begin(), bytes.end(), '\0', ' ');
  FromUtf8(bytes, 0, raw);
  if (raw.size() > MAX_DOCUMENT_BYTES) return RecoveryRead::Unreadable;  // more than the editor can hold
  return RecoveryRead::Damaged;
}

std::vector<std::wstring> PendingRecoveries() {
  std::vector<std::wstring> files;
  const std::wstring legacy = LegacyPending();
  if (!legacy.empty()) files.push_back(legacy);
  for (const Value& value : Values(PENDING_RECOVERIES_KEY)) {
    if (!value.data.empty() && std::find(files.begin(), files.end(), value.data) == files.end()) {
      files.push_back(value.data);
    }
  }
  return files;
}

void ForgetPendingRecovery(const std::wstring& file) {
  for (const Value& value : Values(PENDING_RECOVERIES_KEY)) {
    if (value.data == file) DeleteValue(PENDING_RECOVERIES_KEY, value.name);
  }
  if (LegacyPending() == file) DeleteValue(RECOVERY_KEY, PENDING_RECOVERY_VALUE);
}

void ForgetPendingRecoveries() {
  for (const std::wstring& file : PendingRecoveries()) ForgetPendingRecovery(file);
}

void NoteUnkeptWork(const std::wstring& document) { SetValue(UNKEPT_WORK_KEY, RecordName(), document); }

std::vector<std::wstring> TakeUnkeptWork() {
  std::vector<std::wstring> documents;
  for (const Value& value : Values(UNKEPT_WORK_KEY)) {
    documents.push_back(value.data);
    DeleteValue(UNKEPT_WORK_KEY, value.name);
  }
  return documents;
}

}  // namespace vxhost
