#include "palette/insert/integrity_win32.h"

#include <vector>

namespace vxpalette {

namespace {

// Above every mandatory level: a program whose token we may not even query
// (one running elevated, or as the system) is out of our input's reach.
constexpr DWORD UNREADABLE_ABOVE = 0xFFFFFFFF;

// The token's mandatory level RID; 0 when it cannot be read for another reason.
DWORD IntegrityOf(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
    return GetLastError() == ERROR_ACCESS_DENIED ? UNREADABLE_ABOVE : 0;
  }
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<BYTE> buffer(size ? size : 1);
  DWORD level = 0;
  if (size && GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    auto* label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data());
    if (IsValidSid(label->Label.Sid) && *GetSidSubAuthorityCount(label->Label.Sid) > 0) {
      level = *GetSidSubAuthority(label->Label.Sid, *GetSidSubAuthorityCount(label->Label.Sid) - 1);
    }
  }
  CloseHandle(token);
  return level;
}

}  // namespace

bool RunsAboveUs(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return false;
  DWORD theirs = IntegrityOf(process);
  CloseHandle(process);
  DWORD ours = IntegrityOf(GetCurrentProcess());
  return theirs && ours && ours != UNREADABLE_ABOVE && theirs > ours;
}

}  // namespace vxpalette
