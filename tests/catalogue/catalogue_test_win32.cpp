// Recipes and the colour choice against real windows: a stand-in edit window
// and host frame record what really arrives, and the system colour dialog is
// driven through a CBT hook.
#include <windows.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "addin/host_connection_win32.h"
#include "catalogue/color_choice.h"
#include "catalogue/recipes.h"

namespace {

struct Arrived {
  UINT message;
  INT_PTR wParam;
  std::string text;  // insert requests: copied while the request runs
  LPARAM lParam;
  bool operator==(const Arrived& other) const {
    return message == other.message && wParam == other.wParam && text == other.text &&
           lParam == other.lParam;
  }
};

void PrintTo(const Arrived& a, std::ostream* out) {
  *out << "{" << a.message << ", " << a.wParam << ", \"" << a.text << "\", " << a.lParam << "}";
}

std::vector<Arrived> arrived;

LRESULT CALLBACK StandInEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != vx::WM_HOST_INSERT) return DefWindowProcA(window, message, wParam, lParam);
  arrived.push_back({message, static_cast<INT_PTR>(wParam), reinterpret_cast<const char*>(lParam), 0});
  return 0;
}

LRESULT CALLBACK StandInFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_ACTIVATE && message != WM_PARENTNOTIFY)
    return DefWindowProcA(window, message, wParam, lParam);
  arrived.push_back({message, static_cast<INT_PTR>(wParam), "", lParam});
  return 0;
}

HWND CreateStandIn(const char* className, WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  // Hidden top-level windows: nothing activates them or notifies them of children.
  return CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

Arrived Insert(INT_PTR code, const char* text) { return {vx::WM_HOST_INSERT, code, text, 0}; }

class StandInHost : public ::testing::Test {
 protected:
  void SetUp() override {
    vx::EditWindowHandle = CreateStandIn("VxStandInEdit", StandInEditProc);
    vx::HostFrameHandle = CreateStandIn("VxStandInFrame", StandInFrameProc);
    ASSERT_NE(vx::EditWindowHandle, nullptr);
    ASSERT_NE(vx::HostFrameHandle, nullptr);
    arrived.clear();
  }
  void TearDown() override {
    DestroyWindow(vx::EditWindowHandle);
    DestroyWindow(vx::HostFrameHandle);
  }
  std::vector<Arrived> Run(std::int32_t tagId, const char* userText = nullptr) {
    arrived.clear();
    vx::RunInsertionRecipe(tagId, userText);
    return arrived;
  }
};

// ---- Driving the system colour dialog ----

struct DialogAnswer {
  bool accept;
  BYTE red, green, blue;
};

struct DialogSeen {
  UINT red, green, blue;        // the colour the dialog opened on
  bool colorDialogClosedInside;
  bool operator==(const DialogSeen& other) const {
    return red == other.red && green == other.green && blue == other.blue &&
           colorDialogClosedInside == other.colorDialogClosedInside;
  }
};

void PrintTo(const DialogSeen& s, std::ostream* out) {
  *out << "{" << s.red << ", " << s.green << ", " << s.blue << ", " << s.colorDialogClosedInside << "}";
}

std::deque<DialogAnswer> answers;
std::vector<DialogSeen> seen;
// Per dialog: its owner, and whether it opened without the custom-colour
// half (it grows when that half is asked for).
std::vector<HWND> owners;
std::vector<bool> openedSmall;
HHOOK cbtHook = nullptr;
HWND drivenDialog = nullptr;

void CALLBACK AnswerDialog(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  RECT before = {}, after = {};
  GetWindowRect(dialog, &before);
  // The colour fields show the initial colour only in the full dialog.
  SendDlgItemMessageA(dialog, 719, BM_CLICK, 0, 0);
  GetWindowRect(dialog, &after);
  owners.push_back(GetWindow(dialog, GW_OWNER));
  openedSmall.push_back(after.right - after.left > before.right - before.left);
  seen.push_back({GetDlgItemInt(dialog, 706, nullptr, FALSE), GetDlgItemInt(dialog, 707, nullptr, FALSE),
                  GetDlgItemInt(dialog, 708, nullptr, FALSE), vx::ColorDialogClosed});
  const DialogAnswer answer = answers.empty() ? DialogAnswer{false, 0, 0, 0} : answers.front();
  if (!answers.empty()) answers.pop_front();
  if (answer.accept) {
    SetDlgItemInt(dialog, 706, answer.red, FALSE);
    SetDlgItemInt(dialog, 707, answer.green, FALSE);
    SetDlgItemInt(dialog, 708, answer.blue, FALSE);
  }
  SendDlgItemMessageA(dialog, answer.accept ? IDOK : IDCANCEL, BM_CLICK, 0, 0);
}

LRESULT CALLBACK WatchForColorDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && window != drivenDialog) {
      drivenDialog = window;
      SetTimer(window, 1, 10, AnswerDialog);
    }
  }
  return CallNextHookEx(cbtHook, code, wParam, lParam);
}

class ColorDialog : public StandInHost {
 protected:
  // The colour choice keeps its state for the life of the process; each case
  // starts from the colour the first dialog opens on, whatever ran before it.
  void SetUp() override {
    StandInHost::SetUp();
    savedLast_ = vx::LastColor;
    answers.clear();
    seen.clear();
    owners.clear();
    openedSmall.clear();
    cbtHook = SetWindowsHookExA(WH_CBT, WatchForColorDialog, nullptr, GetCurrentThreadId());
    ASSERT_NE(cbtHook, nullptr);
  }
  void TearDown() override {
    UnhookWindowsHookEx(cbtHook);
    vx::LastColor = savedLast_;
    StandInHost::TearDown();
  }
  // One colour choice answered as given; returns the text and the result.
  std::string Choose(DialogAnswer answer, bool* accepted) {
    answers = {answer};
    drivenDialog = nullptr;
    char text[vx::COLOR_TEXT_SIZE];
    std::memset(text, 'X', sizeof text);
    *accepted = vx::ChooseHtmlColor(text);
    return std::string(text, strnlen(text, sizeof text));
  }

 private:
  vx::ColorRef savedLast_ = 0;
};

TEST_F(StandInHost, ProtocolMessagesArriveAsSent) {
  vx::SendInsertRequest(vx::InsertLinkTrail, "</A>");
  vx::SendInsertRequest(vx::InsertDefinitionText, "");
  vx::SendFocusHandBack(0x1234);
  const HWND tagWindow = vx::EditWindowHandle;  // any window handle will do
  vx::SendResizeNotice(tagWindow);
  const std::vector<Arrived> expected = {
      Insert(-1, "</A>"),
      Insert(-2, ""),
      {WM_ACTIVATE, WA_CLICKACTIVE, "", 0x1234},
      {WM_PARENTNOTIFY, WM_SIZE, "", reinterpret_cast<LPARAM>(tagWindow)},
  };
  EXPECT_EQ(arrived, expected);
}

TEST_F(StandInHost, RecipesReachTheEditWindowInOrder) {
  EXPECT_EQ(Run(19), (std::vector<Arrived>{Insert(0, "<P>"), Insert(1, "</P>")}));
  EXPECT_EQ(Run(42), (std::vector<Arrived>{Insert(0, "<A HREF=\"\">"), Insert(-1, "</A>")}));
  EXPECT_EQ(Run(0), (std::vector<Arrived>{
                        Insert(0, "<HTML>"), Insert(2, "<HTML>"),
                        Insert(0, "  <HEAD>"), Insert(2, "  <HEAD>"),
                        Insert(0, "  <TITLE></TITLE>"), Insert(2, "  <TITLE></TITLE>"), Insert(2, "  <TITLE></TITLE>"),
                        Insert(0, "  </HEAD>"), Insert(2, "  </HEAD>"),
                        Insert(0, "  <BODY>"), Insert(2, "  <BODY>"), Insert(2, "  <BODY>"),
                        Insert(0, "  </BODY>"), Insert(2, "  </BODY>"),
                        Insert(0, "</HTML>"), Insert(2, "</HTML>"),
                    }));
  EXPECT_EQ(Run(19, "<!-- user -->"), (std::vector<Arrived>{Insert(-2, "<!-- user -->")}));
  EXPECT_EQ(Run(5), std::vector<Arrived>{});
  EXPECT_EQ(Run(177), std::vector<Arrived>{});
}

TEST_F(ColorDialog, OpensOnTheLastAcceptedColour) {
  EXPECT_TRUE(vx::ColorDialogClosed);
  bool accepted = false;
  EXPECT_EQ(Choose({true, 0x12, 0xAB, 0xEF}, &accepted), "12ABEF");
  EXPECT_TRUE(accepted);
  EXPECT_TRUE(vx::ColorDialogClosed);
  EXPECT_EQ(Choose({false, 0, 0, 0}, &accepted), "");
  EXPECT_FALSE(accepted);
  EXPECT_TRUE(vx::ColorDialogClosed);
  EXPECT_EQ(Choose({true, 0x0C, 0x0B, 0x0A}, &accepted), "0C0B0A");
  EXPECT_TRUE(accepted);
  EXPECT_EQ(vx::LastColor, vx::MakeColorRef(0x0C, 0x0B, 0x0A));
  const std::vector<DialogSeen> expected = {
      {0xFF, 0x80, 0x80, false},
      {0x12, 0xAB, 0xEF, false},
      {0x12, 0xAB, 0xEF, false},  // the cancel left the last colour alone
  };
  EXPECT_EQ(seen, expected);
}

TEST_F(ColorDialog, IsOwnedByTheFocusedWindowAndOpensSmall) {
  const HWND focused = CreateWindowExA(0, "VxStandInEdit", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                       200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(focused, nullptr);
  SetForegroundWindow(focused);
  SetFocus(focused);
  ASSERT_EQ(GetFocus(), focused);
  bool accepted = true;
  EXPECT_EQ(Choose({false, 0, 0, 0}, &accepted), "");
  EXPECT_EQ(owners, std::vector<HWND>{focused});
  EXPECT_EQ(openedSmall, std::vector<bool>{true});
  DestroyWindow(focused);
}

TEST_F(ColorDialog, ColourRecipesThroughTheRealDialog) {
  answers = {{false, 0, 0, 0}, {false, 0, 0, 0}, {true, 0xFF, 0x00, 0x00}};
  const auto run = [this](std::int32_t tagId) {
    drivenDialog = nullptr;
    return Run(tagId);
  };
  EXPECT_EQ(run(16), std::vector<Arrived>{});
  EXPECT_EQ(run(160), (std::vector<Arrived>{Insert(0, "<TD BGCOLOR=\"#\" SIZE=\""), Insert(1, "\">")}));
  EXPECT_EQ(run(74), (std::vector<Arrived>{Insert(0, "<BODY TEXT=\"#FF0000\">")}));
  EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
