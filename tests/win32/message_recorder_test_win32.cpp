// The shared recorder and hooks themselves: a comparison that passed by
// accident would let every Wine test pass by accident.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/dialog_hooks_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace vx::test_support {
namespace {

HWND MessageOnlyWindow() {
  return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

Msg Recorded(Role role, UINT message, WPARAM wParam, LPARAM lParam, const char* text = "") {
  Msg m(role, message, wParam);
  m.lParam = lParam;
  m.text = text;
  return m;
}

TEST(MatchSequence, ComparesWhatEachEntryAsksAndNamesTheFirstDifference) {
  const std::vector<Msg> recorded{Recorded(Role::Edit, WM_HOST_INSERT, 0, 0x1000, "<P>"),
                                  Recorded(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE, 0x42)};
  EXPECT_TRUE(
      MatchSequence(recorded, {Insert(InsertLead, "<P>"), Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE)}))
      << "lParam is compared only where an entry asks";
  EXPECT_TRUE(MatchSequence(
      recorded,
      {Msg(Role::Tree, WM_SIZE).Optional(), Insert(InsertLead, "<P>"), Msg(Role::Tag, WM_SIZE).Optional(),
       Msg(Role::Host, WM_ACTIVATE).AnyWParam().WithLParam(0x42), Msg(Role::Host, WM_ACTIVATE).Optional()}));

  const ::testing::AssertionResult wrongLParam = MatchSequence(
      recorded, {Insert(InsertLead, "<P>"), Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE).WithLParam(0x43)});
  EXPECT_FALSE(wrongLParam);
  EXPECT_NE(std::string(wrongLParam.message()).find("first difference at recorded message 1"),
            std::string::npos)
      << wrongLParam.message();
  EXPECT_FALSE(
      MatchSequence(recorded, {Insert(InsertLead, "<B>"), Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE)}));
  EXPECT_FALSE(MatchSequence(recorded, {Insert(InsertLead, "<P>")})) << "an extra message";
  EXPECT_FALSE(MatchSequence(
      recorded,
      {Insert(InsertLead, "<P>"), Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE), Msg(Role::Host, WM_SIZE)}))
      << "a missing message";
  EXPECT_FALSE(MatchSequence(
      recorded, {Insert(InsertLead, "<P>"), Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE).Posted()}));
  EXPECT_FALSE(MatchSequence({}, {Msg(Role::Host, WM_SIZE)}));
  EXPECT_TRUE(MatchSequence({}, {Msg(Role::Host, WM_SIZE).Optional()}));
}

TEST(MessageRecorder, RecordsSentAndPostedMessagesOfWatchedKindsByRole) {
  const HWND edit = MessageOnlyWindow();
  const HWND host = MessageOnlyWindow();
  const HWND stranger = MessageOnlyWindow();
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(host, nullptr);
  {
    MessageRecorder recorder({{edit, Role::Edit}, {host, Role::Host}}, {WM_HOST_INSERT, WM_ACTIVATE, WM_APP});
    char text[] = "<P>";
    SendMessageA(edit, WM_HOST_INSERT, 0, reinterpret_cast<LPARAM>(text));
    text[1] = 'B';  // the sender reuses its buffer: the record keeps what arrived
    SendMessageA(stranger, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(host, WM_SIZE, 0, 0);
    PostMessageA(host, WM_APP, 2, 7);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, host, 0, 0, PM_NOREMOVE)) << "seen only once it is taken";
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_TRUE(
        recorder.Matches({Insert(InsertLead, "<P>"), Msg(Role::Host, WM_APP, 2).WithLParam(7).Posted()}));
    EXPECT_TRUE(recorder.Matches({})) << "a comparison starts the next record";

    recorder.Watch({});
    SendMessageA(host, WM_SIZE, 0, 0);
    EXPECT_TRUE(recorder.Matches({Msg(Role::Host, WM_SIZE)})) << "no watch list: every message";
  }
  SendMessageA(host, WM_SIZE, 0, 0);  // after the recorder: nothing to record into
  DestroyWindow(edit);
  DestroyWindow(host);
  DestroyWindow(stranger);
}

// The box and the beep reach the spy with their arguments; the box really
// comes up, the hook sees it, and the watchdog ends it when nobody answers.
TEST(DialogHooks, SpyHookAndWatchdogSeeAnUnansweredBox) {
  UserCallSpy calls(GetModuleHandleA(nullptr));
  ASSERT_TRUE(calls.BoxesSeen());
  ASSERT_TRUE(calls.BeepsSeen());
  MessageBeep(MB_ICONHAND);
  EXPECT_EQ(calls.beeps, std::vector<UINT>{MB_ICONHAND});

  CbtHook hook(nullptr);
  ASSERT_TRUE(hook.Installed());
  DialogWatchdog watchdog(200);
  MessageBoxExA(nullptr, "nobody answers", "caption", MB_OKCANCEL, 0);
  EXPECT_TRUE(watchdog.Fired());
  EXPECT_NE(hook.Dialog(), nullptr);
  EXPECT_FALSE(IsWindow(hook.Dialog()));
  ASSERT_EQ(calls.boxes.size(), 1u);
  EXPECT_EQ(calls.boxes[0].owner, nullptr);
  EXPECT_EQ(calls.boxes[0].text, "nobody answers");
  EXPECT_EQ(calls.boxes[0].caption, std::optional<std::string>("caption"));
  EXPECT_EQ(calls.boxes[0].type, static_cast<UINT>(MB_OKCANCEL));
}

}  // namespace
}  // namespace vx::test_support
