// The editor's definition-file commands with the real add-in: the tag window
// comes back on the chosen file, and the commands' dialogs open.
// Texts of this file are code page 932 in the binary.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "host/check_definition_file_win32.h"
#include "host/editor_frame_win32.h"
#include "tests/host/test_prompt_win32.h"
#include "tests/host/find_item_win32.h"
#include "tests/win32/dialog_hooks_win32.h"

namespace {

struct DefinitionFileTest : ::testing::Test {
  vx::test_support::TestPrompt prompt;  // before the application, which deletes the frame
  TApplication app{GetModuleHandleA(nullptr)};
  vxhost::TEditorFrame* frame = nullptr;

  void SetUp() override {
    frame = new vxhost::TEditorFrame(vxhost::BesideProgram(vxhost::DEFAULT_DEFINITION_FILE).c_str(), prompt);
    app.SetMainWindow(frame);
    ASSERT_TRUE(frame->Create());
  }
  HWND Tree() { return vxhost::FindTagTree(frame->FindTagWindow()); }
  bool Shows(const char* caption) { return Tree() && vx::test_support::FindItemByCaption(Tree(), caption) != nullptr; }
  static std::string WriteDefinitionFile(const char* name, const std::string& body) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    std::ofstream(path, std::ios::binary) << "[VX-HTML定義ファイル]\r\n" << body;
    return path;
  }
};

TEST_F(DefinitionFileTest, ChosenFileReplacesTheOpenTagWindowsUserItems) {
  ASSERT_TRUE(frame->OpenTagWindow());
  app.PumpWaitingMessages();
  ASSERT_TRUE(Shows("ページの先頭へ"));
  const HWND first = frame->FindTagWindow();

  const std::string other = WriteDefinitionFile("vxhost-other.def", ".別の定義\r\n別の項目\r\n<q></q>\r\n");
  frame->UseDefinitionFile(other.c_str());
  app.PumpWaitingMessages();
  EXPECT_EQ(frame->DefinitionFile(), other);
  ASSERT_NE(frame->FindTagWindow(), nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(Shows("別の項目"));
  EXPECT_FALSE(Shows("ページの先頭へ"));
  EXPECT_TRUE(Shows("段落　<P>"));  // the catalogue stays

  // The file is read again at the next opening of its own.
  frame->ToggleTagWindow();
  app.PumpWaitingMessages();
  frame->ToggleTagWindow();
  app.PumpWaitingMessages();
  EXPECT_TRUE(Shows("別の項目"));
  DeleteFileA(other.c_str());
}

TEST_F(DefinitionFileTest, ChoosingWithNoTagWindowOpensOneOnTheFile) {
  ASSERT_EQ(frame->FindTagWindow(), nullptr);
  const std::string other = WriteDefinitionFile("vxhost-closed.def", "単独の項目\r\n<b></b>\r\n");
  frame->UseDefinitionFile(other.c_str());
  app.PumpWaitingMessages();
  EXPECT_TRUE(Shows("単独の項目"));
  DeleteFileA(other.c_str());
}

// The menu command opens the open dialog with its own title, read as the
// characters shown whatever the system code page; cancelling it changes nothing.
TEST_F(DefinitionFileTest, MenuCommandShowsTheOpenDialogAndCancelKeepsTheFileOnAnyCodePage) {
  const std::string before = frame->DefinitionFile();
  std::wstring title;
  vx::test_support::DialogWatchdog watchdog;
  vx::test_support::CbtHook hook([&title](int code, WPARAM wParam, LPARAM) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && title.empty() && vx::test_support::IsDialogWindow(window)) {
      wchar_t text[64] = {};
      GetWindowTextW(window, text, 64);
      title = text;
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return false;
  });
  ASSERT_TRUE(hook.Installed());
  prompt.atScreen = true;
  SendMessageA(frame->GetHandle(), WM_COMMAND, vxhost::CmdDefinitionFile, 0);
  prompt.atScreen = false;
  app.PumpWaitingMessages();
  EXPECT_NE(hook.Dialog(), nullptr);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_EQ(title, L"定義ファイルを開く");
  EXPECT_EQ(frame->DefinitionFile(), before);
  EXPECT_EQ(frame->FindTagWindow(), nullptr);
}

// The check shows the checker's findings in a read-only edit the user can
// copy from, and says so when there are none.
TEST_F(DefinitionFileTest, CheckCommandShowsTheFindingsOrThatThereAreNone) {
  std::wstring shown;
  bool readOnly = false;
  vx::test_support::DialogWatchdog watchdog;
  vx::test_support::CbtHook hook([&](int code, WPARAM wParam, LPARAM) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && shown.empty() && vx::test_support::IsDialogWindow(window)) {
      const HWND edit = GetDlgItem(window, vxhost::CHECK_REPORT_ID);
      std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
      shown = text;
      readOnly = (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0;
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return false;
  });
  ASSERT_TRUE(hook.Installed());
  prompt.atScreen = true;
  SendMessageA(frame->GetHandle(), WM_COMMAND, vxhost::CmdCheckDefinitionFile, 0);
  prompt.atScreen = false;
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(shown.rfind(L"問題は見つかりませんでした。\r\n\r\n", 0), 0u) << shown.size();
  EXPECT_NE(shown.find(L"; 0 findings\r\n"), std::wstring::npos);
  EXPECT_EQ(shown, prompt.LastTold());

  const std::string broken = WriteDefinitionFile("vxhost-check.def", ".F\r\nラベル\r\n");
  const std::wstring path = vxhost::WidePath(broken);
  frame->UseDefinitionFile(broken.c_str());
  frame->CheckDefinitionFile();
  const std::wstring report = prompt.LastTold();
  EXPECT_EQ(report.rfind(L"次の点が見つかりました。\r\n\r\n" + path + L":3: ", 0), 0u);
  EXPECT_NE(report.find(L"\r\n" + path + L": the loader adds 1 folders and 1 entries; 1 findings\r\n"),
            std::wstring::npos);
  app.PumpWaitingMessages();
  DeleteFileA(broken.c_str());
}

}  // namespace
