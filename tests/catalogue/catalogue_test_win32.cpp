// Recipes and the colour choice against real windows: what really arrives at
// a stand-in edit window and host frame is recorded, and the system colour
// dialog is driven through a CBT hook.
#include <windows.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "addin/host_connection_win32.h"
#include "catalogue/color_choice.h"
#include "catalogue/recipes.h"
#include "tests/win32/dialog_hooks_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace {

using vx::test_support::Insert;
using vx::test_support::Msg;
using vx::test_support::Role;

// The stand-ins only take the messages; the recorder sees them arrive.
LRESULT CALLBACK StandInEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == vx::WM_HOST_INSERT ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK StandInFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE || message == WM_PARENTNOTIFY) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
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

class StandInHost : public ::testing::Test {
 protected:
  void SetUp() override {
    vx::EditWindowHandle = CreateStandIn("VxStandInEdit", StandInEditProc);
    vx::HostFrameHandle = CreateStandIn("VxStandInFrame", StandInFrameProc);
    ASSERT_NE(vx::EditWindowHandle, nullptr);
    ASSERT_NE(vx::HostFrameHandle, nullptr);
    recorder_ = std::make_unique<vx::test_support::MessageRecorder>(
        std::initializer_list<std::pair<HWND, Role>>{{vx::EditWindowHandle, Role::Edit},
                                                     {vx::HostFrameHandle, Role::Host}},
        std::vector<UINT>{vx::WM_HOST_INSERT, WM_ACTIVATE, WM_PARENTNOTIFY});
  }
  void TearDown() override {
    recorder_.reset();
    DestroyWindow(vx::EditWindowHandle);
    DestroyWindow(vx::HostFrameHandle);
  }
  // One recipe run against what must arrive.
  ::testing::AssertionResult Run(std::int32_t tagId, const std::vector<Msg>& expected,
                                 const char* userText = nullptr) {
    recorder_->Clear();
    vx::RunInsertionRecipe(tagId, userText);
    return recorder_->Matches(expected);
  }
  std::unique_ptr<vx::test_support::MessageRecorder> recorder_;
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
                  GetDlgItemInt(dialog, 708, nullptr, FALSE), !vx::IsColorDialogOpen()});
  const DialogAnswer answer = answers.empty() ? DialogAnswer{false, 0, 0, 0} : answers.front();
  if (!answers.empty()) answers.pop_front();
  if (answer.accept) {
    SetDlgItemInt(dialog, 706, answer.red, FALSE);
    SetDlgItemInt(dialog, 707, answer.green, FALSE);
    SetDlgItemInt(dialog, 708, answer.blue, FALSE);
  }
  SendDlgItemMessageA(dialog, answer.accept ? IDOK : IDCANCEL, BM_CLICK, 0, 0);
}

bool WatchForColorDialog(int code, WPARAM wParam, LPARAM) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && vx::test_support::IsDialogWindow(window) && window != drivenDialog) {
    drivenDialog = window;
    SetTimer(window, 1, 10, AnswerDialog);
  }
  return false;
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
    hook_ = std::make_unique<vx::test_support::CbtHook>(WatchForColorDialog);
    ASSERT_TRUE(hook_->Installed());
  }
  void TearDown() override {
    hook_.reset();
    vx::LastColor = savedLast_;
    StandInHost::TearDown();
  }
  // One colour choice answered as given; returns the text and the outcome.
  std::string Choose(DialogAnswer answer, vx::ColorOutcome* outcome) {
    answers = {answer};
    drivenDialog = nullptr;
    vx::test_support::DialogWatchdog watchdog;
    const vx::ColorChoice choice = vx::ChooseHtmlColor();
    EXPECT_FALSE(watchdog.Fired()) << "the colour dialog was never answered";
    *outcome = choice.outcome;
    return std::string(choice.text, strnlen(choice.text, sizeof choice.text));
  }

 private:
  vx::ColorRef savedLast_ = 0;
  std::unique_ptr<vx::test_support::CbtHook> hook_;
};

TEST_F(StandInHost, ProtocolMessagesArriveAsSent) {
  vx::SendInsertRequest(vx::InsertLinkTrail, "</A>");
  vx::SendInsertRequest(vx::InsertDefinitionText, "");
  vx::SendFocusHandBack(0x1234);
  const HWND tagWindow = vx::EditWindowHandle;  // any window handle will do
  vx::SendResizeNotice(tagWindow);
  EXPECT_TRUE(recorder_->Matches({
      Insert(vx::InsertLinkTrail, "</A>"),
      Insert(vx::InsertDefinitionText, ""),
      Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE).WithLParam(0x1234),
      vx::test_support::ResizeNotice(tagWindow),
  }));
}

TEST_F(StandInHost, RecipesReachTheEditWindowInOrder) {
  constexpr vx::InsertCode LEAD = vx::InsertLead, TRAIL = vx::InsertTrail, LINE_END = vx::InsertLineEnd;
  EXPECT_TRUE(Run(19, {Insert(LEAD, "<P>"), Insert(TRAIL, "</P>")}));
  EXPECT_TRUE(Run(42, {Insert(LEAD, "<A HREF=\"\">"), Insert(vx::InsertLinkTrail, "</A>")}));
  EXPECT_TRUE(Run(0, {
                         Insert(LEAD, "<HTML>"), Insert(LINE_END, "<HTML>"),
                         Insert(LEAD, "  <HEAD>"), Insert(LINE_END, "  <HEAD>"),
                         Insert(LEAD, "  <TITLE></TITLE>"), Insert(LINE_END, "  <TITLE></TITLE>"),
                         Insert(LINE_END, "  <TITLE></TITLE>"),
                         Insert(LEAD, "  </HEAD>"), Insert(LINE_END, "  </HEAD>"),
                         Insert(LEAD, "  <BODY>"), Insert(LINE_END, "  <BODY>"), Insert(LINE_END, "  <BODY>"),
                         Insert(LEAD, "  </BODY>"), Insert(LINE_END, "  </BODY>"),
                         Insert(LEAD, "</HTML>"), Insert(LINE_END, "</HTML>"),
                     }));
  EXPECT_TRUE(Run(19, {Insert(vx::InsertDefinitionText, "<!-- user -->")}, "<!-- user -->"));
  EXPECT_TRUE(Run(5, {}));
  EXPECT_TRUE(Run(177, {}));
}

TEST_F(ColorDialog, OpensOnTheLastAcceptedColour) {
  EXPECT_FALSE(vx::IsColorDialogOpen());
  vx::ColorOutcome outcome = vx::ColorOutcome::Cancelled;
  EXPECT_EQ(Choose({true, 0x12, 0xAB, 0xEF}, &outcome), "12ABEF");
  EXPECT_EQ(outcome, vx::ColorOutcome::Accepted);
  EXPECT_FALSE(vx::IsColorDialogOpen());
  EXPECT_EQ(Choose({false, 0, 0, 0}, &outcome), "");
  EXPECT_EQ(outcome, vx::ColorOutcome::Cancelled);
  EXPECT_FALSE(vx::IsColorDialogOpen());
  EXPECT_EQ(Choose({true, 0x0C, 0x0B, 0x0A}, &outcome), "0C0B0A");
  EXPECT_EQ(outcome, vx::ColorOutcome::Accepted);
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
  vx::ColorOutcome outcome = vx::ColorOutcome::Accepted;
  EXPECT_EQ(Choose({false, 0, 0, 0}, &outcome), "");
  EXPECT_EQ(owners, std::vector<HWND>{focused});
  EXPECT_EQ(openedSmall, std::vector<bool>{true});
  DestroyWindow(focused);
}

TEST_F(ColorDialog, ColourRecipesThroughTheRealDialog) {
  answers = {{false, 0, 0, 0}, {false, 0, 0, 0}, {true, 0xFF, 0x00, 0x00}};
  const auto run = [this](std::int32_t tagId, const std::vector<Msg>& expected) {
    drivenDialog = nullptr;
    vx::test_support::DialogWatchdog watchdog;
    const ::testing::AssertionResult arrived = Run(tagId, expected);
    EXPECT_FALSE(watchdog.Fired()) << "the colour dialog of " << tagId << " was never answered";
    return arrived;
  };
  EXPECT_TRUE(run(16, {}));
  EXPECT_TRUE(
      run(160, {Insert(vx::InsertLead, "<TD BGCOLOR=\"#\" SIZE=\""), Insert(vx::InsertTrail, "\">")}));
  EXPECT_TRUE(run(74, {Insert(vx::InsertLead, "<BODY TEXT=\"#FF0000\">")}));
  EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
