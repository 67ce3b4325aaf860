// The Windows side of file_access.h: wide-character file calls, identities
// from GetFileInformationByHandle, replacement by MoveFileExW.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "vxtags/file_access.h"

namespace vxtags {
namespace {

std::wstring WideFromUtf8(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

// The system's own description, in English where it has one, without the
// closing period and line end; a code it cannot describe is named as such.
std::string SystemWords(DWORD error) {
  constexpr DWORD FLAGS = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t* text = nullptr;
  for (const DWORD language : {static_cast<DWORD>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), DWORD{0}}) {
    if (FormatMessageW(FLAGS, nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr) != 0) break;
    text = nullptr;
  }
  std::wstring words = text != nullptr ? text : L"";
  if (text != nullptr) LocalFree(text);
  while (!words.empty() && (words.back() == L'.' || words.back() == L'\r' || words.back() == L'\n' || words.back() == L' '))
    words.pop_back();
  if (!words.empty()) return Utf8FromWide(words);
  char unknown[64];
  std::snprintf(unknown, sizeof unknown, "An error the system does not describe (code %lu)",
                static_cast<unsigned long>(error));
  return unknown;
}

// The wording of the POSIX side, so that both print the same lines.
std::string ReasonOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return "No such file or directory";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "Permission denied";
    case ERROR_DIRECTORY: return "Not a directory";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "No space left on device";
    case ERROR_FILENAME_EXCED_RANGE: return "File name too long";
    case ERROR_WRITE_PROTECT: return "Read-only file system";
    case ERROR_INVALID_HANDLE: return "Bad file descriptor";
    case ERROR_BAD_DEV_TYPE: return "Not a regular file (a device)";
    default: return SystemWords(error);
  }
}

// Why a name could not be opened: a device name answers with the errors of a
// handle ("CON" without a console) or of a device type ("COM1").
std::string OpenReason(DWORD error) {
  return error == ERROR_INVALID_HANDLE ? ReasonOf(ERROR_BAD_DEV_TYPE) : ReasonOf(error);
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, true};
}

WriteResult Refused(std::string reason) { return {WriteOutcome::Refused, std::move(reason)}; }

// Standard input, or the file at path; INVALID_HANDLE_VALUE with reason set
// when there is none.
HANDLE OpenInput(const std::string& path, bool owned, std::string& reason) {
  if (!owned) {
    const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return handle;
    reason = "No standard input";
    return INVALID_HANDLE_VALUE;
  }
  const std::wstring wide = WideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    reason = "Is a directory";
    return INVALID_HANDLE_VALUE;
  }
  const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) reason = path.empty() ? "No such file or directory" : OpenReason(GetLastError());
  return handle;
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  owned_ = path != STANDARD_INPUT;
  const HANDLE handle = OpenInput(path, owned_, reason_);
  if (handle == INVALID_HANDLE_VALUE) return;
  const DWORD type = GetFileType(handle);
  BY_HANDLE_FILE_INFORMATION info;
  if (type == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info)) identity_ = IdentityOf(info);
  if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
    reason_ = type == FILE_TYPE_CHAR ? "Not a regular file (a device)" : ReasonOf(GetLastError());
    if (owned_) CloseHandle(handle);
    return;
  }
  regular_ = type == FILE_TYPE_DISK;
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  open_ = true;
}

InputFile::~InputFile() {
  if (open_ && owned_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t InputFile::Read(unsigned char* buffer, std::size_t capacity) {
  if (!open_ || failed_ || capacity == 0) return 0;
  DWORD got = 0;
  const DWORD ask = capacity > (1u << 30) ? (1u << 30) : static_cast<DWORD>(capacity);
  if (ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, ask, &got, nullptr)) return got;
  const DWORD error = GetLastError();
  // A pipe whose writer has closed it has simply ended.
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
  failed_ = true;
  reason_ = ReasonOf(error);
  return 0;
}

namespace {

constexpr wchar_t TEMPORARY_PREFIX[] = L".vxtags-";
constexpr wchar_t TEMPORARY_PATTERN[] = L".vxtags-*.tmp";

// The temporary file an interrupt must remove; the console control handler
// runs on a thread of its own.
CRITICAL_SECTION PendingLock;
HANDLE PendingHandle = INVALID_HANDLE_VALUE;
std::wstring PendingName;

BOOL WINAPI RemovePendingOnInterrupt(DWORD) {
  EnterCriticalSection(&PendingLock);
  if (!PendingName.empty()) {
    if (PendingHandle != INVALID_HANDLE_VALUE) CloseHandle(PendingHandle);
    PendingHandle = INVALID_HANDLE_VALUE;
    DeleteFileW(PendingName.c_str());
    PendingName.clear();
  }
  LeaveCriticalSection(&PendingLock);
  return FALSE;  // the default handler then ends the program
}

void SetPending(HANDLE handle, const std::wstring& name) {
  static bool installed = false;
  if (!installed) {
    InitializeCriticalSection(&PendingLock);
    SetConsoleCtrlHandler(RemovePendingOnInterrupt, TRUE);
    installed = true;
  }
  EnterCriticalSection(&PendingLock);
  PendingHandle = handle;
  PendingName = name;
  LeaveCriticalSection(&PendingLock);
}

// Takes the handle back from the interrupt handler; INVALID once it has run.
HANDLE TakePendingHandle() {
  EnterCriticalSection(&PendingLock);
  const HANDLE handle = PendingHandle;
  PendingHandle = INVALID_HANDLE_VALUE;
  LeaveCriticalSection(&PendingLock);
  return handle;
}

void ClearPending() {
  EnterCriticalSection(&PendingLock);
  PendingName.clear();
  LeaveCriticalSection(&PendingLock);
}

// A temporary file in use is open without delete sharing, so only those of a
// run that was killed can be deleted.
void RemoveAbandonedTemporaries(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + TEMPORARY_PATTERN).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0)
      DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The folder part of path, with its separator: "" for a bare name.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/:");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

HANDLE CreateTemporary(const std::wstring& folder, std::wstring& name) {
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    wchar_t unique[16];
    std::swprintf(unique, 16, L"%06lx.tmp",
                  static_cast<unsigned long>((GetCurrentProcessId() * 7919u + GetTickCount() + attempt * 104729u) & 0xFFFFFF));
    name = folder + TEMPORARY_PREFIX + unique;
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

WriteResult CheckOutputFile(const std::string& path, const FileIdentity& input) {
  const std::wstring wide = WideFromUtf8(path);
  // No access asked: a device, a folder or a link is opened only to be looked at.
  const HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return {WriteOutcome::Written, ""};
    if (error == ERROR_INVALID_HANDLE || error == ERROR_BAD_DEV_TYPE) return Refused(OpenReason(error));
    return {WriteOutcome::Failed, ReasonOf(error)};
  }
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool disk = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info);
  CloseHandle(handle);
  if (!disk) return Refused("Not a regular file (a device)");
  if (IdentityOf(info) == input) return Refused("Is the input file itself; name another output");
  if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return Refused("Is a symbolic link; name the file it points to");
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Refused("Is a directory");
  if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return Refused("Read-only file");
  return {WriteOutcome::Written, ""};
}

WriteResult ReplaceOutputFile(const std::string& path, const std::string& bytes, const FileIdentity& input) {
  const WriteResult allowed = CheckOutputFile(path, input);
  if (allowed.outcome != WriteOutcome::Written) return allowed;
  const std::wstring wide = WideFromUtf8(path);
  const std::wstring folder = FolderOf(wide);
  RemoveAbandonedTemporaries(folder);
  std::wstring temporary;
  const HANDLE handle = CreateTemporary(folder, temporary);
  if (handle == INVALID_HANDLE_VALUE) return {WriteOutcome::Failed, ReasonOf(GetLastError())};
  SetPending(handle, temporary);
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    DWORD written = 0;
    const DWORD ask = bytes.size() - done > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size() - done);
    ok = WriteFile(handle, bytes.data() + done, ask, &written, nullptr) && written > 0;
    done += written;
  }
  ok = ok && FlushFileBuffers(handle);
  DWORD error = ok ? 0 : GetLastError();
  const HANDLE owned = TakePendingHandle();
  if (owned != INVALID_HANDLE_VALUE) CloseHandle(owned);
  ok = ok && owned != INVALID_HANDLE_VALUE &&
       MoveFileExW(temporary.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok && error == 0) error = GetLastError();
  if (!ok) DeleteFileW(temporary.c_str());
  ClearPending();
  return ok ? WriteResult{WriteOutcome::Written, ""} : WriteResult{WriteOutcome::Failed, ReasonOf(error)};
}

}  // namespace vxtags
