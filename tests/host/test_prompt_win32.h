// The prompt the editor tests hand their frames: a script nobody answers,
// or, while a test answers the real boxes and dialogs through its hooks,
// the user's message boxes. Either way what was told is kept.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "host/editor_prompt_win32.h"

namespace vx::test_support {

struct TestPrompt : vxhost::ScriptedPrompt {
  vxhost::MessageBoxPrompt boxes;
  bool atScreen = false;

  // Answers from now on, with nothing asked or told yet.
  void Script(std::vector<int> answers) { static_cast<ScriptedPrompt&>(*this) = ScriptedPrompt(std::move(answers)); }

  int Ask(HWND owner, const std::wstring& text, UINT type) override {
    return atScreen ? boxes.Ask(owner, text, type) : ScriptedPrompt::Ask(owner, text, type);
  }
  void Tell(HWND owner, const std::wstring& text) override {
    ScriptedPrompt::Tell(owner, text);
    if (atScreen) boxes.Tell(owner, text);
  }
  void ShowCheckReport(HWND owner, const std::wstring& report) override {
    ScriptedPrompt::ShowCheckReport(owner, report);
    if (atScreen) boxes.ShowCheckReport(owner, report);
  }
  bool ChooseFile(OPENFILENAMEW& dialog, bool save) override {
    return atScreen ? boxes.ChooseFile(dialog, save) : ScriptedPrompt::ChooseFile(dialog, save);
  }
  std::wstring ChooseDefinitionFile(HWND owner, const std::string& current) override {
    return atScreen ? boxes.ChooseDefinitionFile(owner, current) : ScriptedPrompt::ChooseDefinitionFile(owner, current);
  }
};

}  // namespace vx::test_support
