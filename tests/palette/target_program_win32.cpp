#include "tests/palette/target_program_win32.h"

#include <vector>

namespace vxpalette::test_support {
namespace {

// A program just started may take seconds to answer (on the emulated 32-bit
// CPU), and a message that timed out is dropped.
constexpr UINT MESSAGE_BOUND_MS = 20000;

struct Found {
  DWORD process;
  const wchar_t* className;
  HWND window;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM lParam) {
  auto* wanted = reinterpret_cast<Found*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process != wanted->process || !IsWindowVisible(window) || lstrcmpiW(name, wanted->className) != 0) return TRUE;
  wanted->window = window;
  return FALSE;
}

}  // namespace

HWND WaitForTopWindow(HANDLE process, DWORD processId, const wchar_t* className, DWORD boundMs) {
  Found wanted{processId, className, nullptr};
  const ULONGLONG deadline = GetTickCount64() + boundMs;
  while (!wanted.window && GetTickCount64() < deadline && WaitForSingleObject(process, 20) == WAIT_TIMEOUT)
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&wanted));
  return wanted.window;
}

TargetProgram::TargetProgram(const std::wstring& path, const wchar_t* topClass, const wchar_t* controlClass) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_))
    return;
  // Until then the program may still clear its document after a reset.
  WaitForInputIdle(process_.hProcess, START_BOUND_MS);
  top_ = WaitForTopWindow(process_.hProcess, process_.dwProcessId, topClass, START_BOUND_MS);
  if (top_) control_ = FindWindowExW(top_, nullptr, controlClass, nullptr);
}

TargetProgram::~TargetProgram() { End(); }

void TargetProgram::End() {
  if (!process_.hProcess) return;
  TerminateProcess(process_.hProcess, 0);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = PROCESS_INFORMATION{};
}

LRESULT TargetProgram::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control_, message, wParam, lParam, SMTO_NORMAL, MESSAGE_BOUND_MS, &result);
  return static_cast<LRESULT>(result);
}

// A program just started may not take a text yet (wordpad on the emulated
// 32-bit CPU): the text is set again until it reads back, within the bound.
bool TargetProgram::Reset(const std::u16string& text, DWORD start, DWORD end) const {
  const std::wstring wide(text.begin(), text.end());
  const ULONGLONG deadline = GetTickCount64() + START_BOUND_MS;
  for (;;) {
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (Text() == text || GetTickCount64() >= deadline) break;
    Sleep(20);
  }
  Send(EM_SETSEL, start, end);
  Send(EM_EMPTYUNDOBUFFER, 0, 0);
  return Text() == text && Selection() == std::make_pair(start, end);
}

std::pair<DWORD, DWORD> TargetProgram::Selection() const {
  DWORD start = 0;
  DWORD end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

bool TargetProgram::Is32BitOn64() const {
  BOOL wow64 = FALSE;
  return IsWow64Process(process_.hProcess, &wow64) && wow64;
}

std::u16string TargetProgram::Text() const {
  std::vector<wchar_t> buffer(4096);
  const LRESULT copied = Send(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  return std::u16string(buffer.data(), buffer.data() + copied);
}

std::u16string TargetProgram::WithCaret() const {
  const LRESULT selection = Send(EM_GETSEL, 0, 0);
  const DWORD start = LOWORD(selection);
  const DWORD end = HIWORD(selection);
  std::u16string text = Text();
  if (start != end) return text + u" [a selection]";
  std::size_t at = 0;
  for (DWORD position = 0; position < start && at < text.size(); ++position) {
    at += text.compare(at, 2, u"\r\n") == 0 && isRichEdit_ ? 2 : 1;
  }
  return text.insert(at < text.size() ? at : text.size(), u"|");
}

std::wstring WindowsFile(const wchar_t* subfolder, const wchar_t* file) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  return std::wstring(windows) + L"\\" + subfolder + L"\\" + file;
}

std::wstring NativeNotepad() { return WindowsFile(sizeof(void*) == 8 ? L"system32" : L"sysnative", L"notepad.exe"); }

std::wstring WordPadPath() {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", folder, MAX_PATH);
  return std::wstring(folder) + L"\\Windows NT\\Accessories\\wordpad.exe";
}

}  // namespace vxpalette::test_support
