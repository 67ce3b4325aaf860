#include "host/editor_prompt_win32.h"

#include "host/check_definition_file_win32.h"
#include "host/editor_texts_win32.h"
#include "hostkit/definition_file_dialog_win32.h"

namespace vxhost {

int MessageBoxPrompt::Ask(HWND owner, const std::wstring& text, UINT type) {
  return MessageBoxW(owner, text.c_str(), PROGRAM_NAME, type);
}

// Wide, so that a character outside any code page shows as itself.
void MessageBoxPrompt::Tell(HWND owner, const std::wstring& text) { Ask(owner, text, MB_OK | MB_ICONWARNING); }

void MessageBoxPrompt::ShowCheckReport(HWND owner, const std::wstring& report) { ShowDefinitionCheck(owner, report); }

bool MessageBoxPrompt::ChooseFile(OPENFILENAMEW& dialog, bool save) {
  return (save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) != FALSE;
}

std::wstring MessageBoxPrompt::ChooseDefinitionFile(HWND owner, const std::string& current) {
  return AskForDefinitionFilePath(owner, current);
}

int ScriptedPrompt::Ask(HWND, const std::wstring& text, UINT) {
  asked_.push_back(text);
  return next_ < answers_.size() ? answers_[next_++] : NOBODY_TO_ASK;
}

void ScriptedPrompt::Tell(HWND, const std::wstring& text) { told_.push_back(text); }

void ScriptedPrompt::ShowCheckReport(HWND, const std::wstring& report) { told_.push_back(report); }

bool ScriptedPrompt::ChooseFile(OPENFILENAMEW&, bool) { return false; }

std::wstring ScriptedPrompt::ChooseDefinitionFile(HWND, const std::string&) { return std::wstring(); }

}  // namespace vxhost
