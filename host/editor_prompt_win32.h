// How the sample editor asks and tells its user: the message boxes and file
// dialogs of someone at the screen, or a script in runs nobody watches.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <string>
#include <vector>

namespace vxhost {

// An answer no box gave: nobody can be asked, and the editor goes on as
// asked to without a question (a modified document is neither saved nor
// counted as given up).
inline constexpr int NOBODY_TO_ASK = -1;

class EditorPrompt {
 public:
  virtual ~EditorPrompt() = default;
  // A question with the buttons and icon of a message box's type; returns
  // the button chosen (IDYES, IDNO, IDCANCEL) or NOBODY_TO_ASK.
  virtual int Ask(HWND owner, const std::wstring& text, UINT type) = 0;
  // A warning or a failure.
  virtual void Tell(HWND owner, const std::wstring& text) = 0;
  // The definition file check's findings.
  virtual void ShowCheckReport(HWND owner, const std::wstring& report) = 0;
  // The open or save dialog as set up; false when no file was chosen.
  virtual bool ChooseFile(OPENFILENAMEW& dialog, bool save) = 0;
  // The definition file's open dialog; empty when none was chosen.
  virtual std::wstring ChooseDefinitionFile(HWND owner, const std::string& current) = 0;
};

// The user at the screen.
class MessageBoxPrompt : public EditorPrompt {
 public:
  int Ask(HWND owner, const std::wstring& text, UINT type) override;
  void Tell(HWND owner, const std::wstring& text) override;
  void ShowCheckReport(HWND owner, const std::wstring& report) override;
  bool ChooseFile(OPENFILENAMEW& dialog, bool save) override;
  std::wstring ChooseDefinitionFile(HWND owner, const std::string& current) override;
};

// Answers questions from a list, then nobody answers; chooses no file; and
// keeps what was asked and told, in order.
class ScriptedPrompt : public EditorPrompt {
 public:
  explicit ScriptedPrompt(std::vector<int> answers = {}) : answers_(std::move(answers)) {}

  int Ask(HWND owner, const std::wstring& text, UINT type) override;
  void Tell(HWND owner, const std::wstring& text) override;
  void ShowCheckReport(HWND owner, const std::wstring& report) override;
  bool ChooseFile(OPENFILENAMEW& dialog, bool save) override;
  std::wstring ChooseDefinitionFile(HWND owner, const std::string& current) override;

  const std::vector<std::wstring>& Asked() const { return asked_; }
  const std::vector<std::wstring>& Told() const { return told_; }
  // The last text told (or shown as the check's report); empty when none was.
  std::wstring LastTold() const { return told_.empty() ? std::wstring() : told_.back(); }

 private:
  std::vector<int> answers_;
  std::size_t next_ = 0;
  std::vector<std::wstring> asked_;
  std::vector<std::wstring> told_;
};

}  // namespace vxhost
