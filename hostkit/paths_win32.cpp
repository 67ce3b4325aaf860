#include "hostkit/paths_win32.h"

#include "hostkit/code_page_text_win32.h"

namespace vxhost {

std::string FolderOf(const std::string& path) {
  // The second byte of a double-byte character may be 0x5C, so separators are
  // found character by character, in the code page the path is written in.
  std::size_t folderEnd = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      folderEnd = i + 1;
    }
  }
  return path.substr(0, folderEnd);
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring ProgramPath() {
  // The call cuts the name to the room it is given and says so only by
  // filling it: the room grows until the name fits.
  std::wstring path(256, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string BesideProgram(const char* fileName) {
  const std::wstring program = ProgramPath();
  if (program.empty()) return fileName;
  std::string folder;
  return (AddInPath(FolderOf(program), folder) ? folder : NarrowPath(FolderOf(program))) + fileName;
}

std::wstring BesideProgram(const wchar_t* fileName) {
  const std::wstring program = ProgramPath();
  if (program.empty()) return fileName;
  return FolderOf(program) + fileName;
}

std::string FullPath(const char* path) {
  const DWORD size = GetFullPathNameA(path, 0, nullptr, nullptr);
  if (size == 0) return path;
  std::string full(size, '\0');
  const DWORD length = GetFullPathNameA(path, size, &full[0], nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

bool IsDefinitionFileName(const std::wstring& path) {
  const std::size_t name = FolderOf(path).size();
  const std::size_t dot = path.rfind(L'.');
  return dot != std::wstring::npos && dot >= name && CompareStringOrdinal(path.c_str() + dot, -1, L".def", -1, TRUE) == CSTR_EQUAL;
}

std::wstring WidePath(const std::string& path) { return ToWide(CP_ACP, path); }

std::string NarrowPath(const std::wstring& path) { return ToNarrow(CP_ACP, path); }

namespace {

// The system code page's bytes of a path, when they spell it exactly: no
// "?" and no look-alike in place of a character the code page lacks.
bool NarrowExactly(const std::wstring& path, std::string& narrow) {
  if (path.empty()) return false;
  const UINT codePage = GetACP();
  std::string bytes;
  bool exact = true;
  if (!ToNarrow(codePage, path, bytes, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, &exact) || !exact ||
      bytes.size() > MAX_ADD_IN_PATH_BYTES) {
    return false;
  }
  narrow.swap(bytes);
  return true;
}

}  // namespace

bool AddInPath(const std::wstring& path, std::string& narrow) {
  const std::wstring full = FullPath(path);
  if (NarrowExactly(full, narrow)) return true;
  const DWORD size = GetShortPathNameW(full.c_str(), nullptr, 0);
  if (size == 0) return false;
  std::wstring shortPath(size, L'\0');
  const DWORD length = GetShortPathNameW(full.c_str(), &shortPath[0], size);
  if (length == 0 || length >= size) return false;
  shortPath.resize(length);
  return NarrowExactly(shortPath, narrow);
}

}  // namespace vxhost
