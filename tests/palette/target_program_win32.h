// A program the palette's tests and benchmark start as a target (Wine's own
// notepad and wordpad): found by its process and window class, its control
// read and set through bounded messages, ended with the object.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

namespace vxpalette::test_support {

inline constexpr DWORD START_BOUND_MS = 60000;  // a program start on the emulated 32-bit CPU is slow

// The first visible top-level window of the process with this class, waited
// for (bounded) while the process lives; null otherwise.
HWND WaitForTopWindow(HANDLE process, DWORD processId, const wchar_t* className, DWORD boundMs);

class TargetProgram {
 public:
  TargetProgram(const std::wstring& path, const wchar_t* topClass, const wchar_t* controlClass);
  ~TargetProgram();
  TargetProgram(const TargetProgram&) = delete;
  TargetProgram& operator=(const TargetProgram&) = delete;

  void End();
  bool Started() const { return control_ != nullptr; }
  HWND Top() const { return top_; }
  HWND Control() const { return control_; }
  // A 32-bit program on a 64-bit system.
  bool Is32BitOn64() const;

  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;
  // The text, with the selection from start to end and no undo history;
  // false when the program did not take them within the bound.
  bool Reset(const std::u16string& text, DWORD start, DWORD end) const;
  std::u16string Text() const;
  std::pair<DWORD, DWORD> Selection() const;
  // The text with "|" where the caret is (a selection is shown as such).
  std::u16string WithCaret() const;
  void Undo() const { Send(EM_UNDO, 0, 0); }
  // A RichEdit counts a line end as one position.
  void SetRichEdit() { isRichEdit_ = true; }

 private:
  PROCESS_INFORMATION process_{};
  HWND top_ = nullptr;
  HWND control_ = nullptr;
  bool isRichEdit_ = false;
};

// Wine's programs, as this program's architecture sees them.
std::wstring WindowsFile(const wchar_t* subfolder, const wchar_t* file);
// The 64-bit notepad: from a 32-bit program the system folder is the 32-bit
// one, and sysnative the 64-bit one.
std::wstring NativeNotepad();
std::wstring WordPadPath();

}  // namespace vxpalette::test_support
