#include "host/path_names.h"

#include <algorithm>

namespace vxhost {
namespace {

static constexpr const wchar_t* DEVICE_NAMES[] = {
    L"con",  L"prn",  L"aux",  L"nul",  L"conin$", L"conout$",
    L"com1", L"com2", L"com3", L"com4", L"com5",   L"com6",    L"com7", L"com8", L"com9",
    L"com\u00B9", L"com\u00B2", L"com\u00B3",
    L"lpt1", L"lpt2", L"lpt3", L"lpt4", L"lpt5",   L"lpt6",    L"lpt7", L"lpt8", L"lpt9",
    L"lpt\u00B9", L"lpt\u00B2", L"lpt\u00B3",
};

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
  if (fullPath.size() < LONG_PATH_FROM) return fullPath;
  std::wstring path = fullPath;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0) return fullPath;
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  if (drive) return L"\\\\?\\" + path;
  if (path.compare(0, 2, L"\\\\") == 0 && path.size() > 2 && path[2] != L'\\') return L"\\\\?\\UNC\\" + path.substr(2);
  return fullPath;
}

bool IsDeviceName(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/:");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find(L'.'));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
  std::wstring lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return std::find(std::begin(DEVICE_NAMES), std::end(DEVICE_NAMES), lower) != std::end(DEVICE_NAMES);
}

}  // namespace vxhost
