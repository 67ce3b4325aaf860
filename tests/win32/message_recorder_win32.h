// One recorder for the messages that really reach a test's windows, compared
// with an expected sequence the way the Win32 conformance suites do it: each
// entry names the window by the part it plays, the message and wParam, and
// lParam or the carried text only where the protocol fixes them; entries may
// be optional. Sent messages are seen through a WH_CALLWNDPROC hook before the
// window procedure runs (so an insert request's text is copied while it is
// still valid), posted ones through a WH_GETMESSAGE hook when they are taken
// from the queue.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"

namespace vx::test_support {

// The part a window plays; windows of no part are not recorded.
enum class Role { None, Host, Edit, Tag, Tree };

// One message: as recorded, or as expected with the fields to compare.
struct Msg {
  Role role = Role::None;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::string text;  // insert requests: the text as it arrived
  bool posted = false;

  // What an expected entry compares beyond role, message, wParam and posting.
  bool checkLParam = false;
  bool checkText = false;
  bool anyWParam = false;
  bool optional = false;

  Msg() = default;
  Msg(Role r, UINT m, WPARAM w = 0) : role(r), message(m), wParam(w) {}
  Msg WithLParam(LPARAM l) const;
  Msg WithLParam(HWND window) const { return WithLParam(reinterpret_cast<LPARAM>(window)); }
  Msg WithText(std::string t) const;
  Msg Posted() const;
  Msg AnyWParam() const;
  Msg Optional() const;
  bool Matches(const Msg& recorded) const;
};
void PrintTo(const Msg& m, std::ostream* out);
std::ostream& operator<<(std::ostream& out, const Msg& m);

// The protocol's messages as they must arrive.
Msg Insert(InsertCode code, const char* text);  // to the edit window
Msg HandBack(HWND tree);                        // WM_ACTIVATE to the host frame
Msg ResizeNotice(HWND tagWindow);               // WM_PARENTNOTIFY to the host frame
Msg TreeActivation(HWND tagWindow);             // posted WM_ACTIVATE to the tree

// Records, on the calling thread, the watched messages reaching windows of a
// role. One recorder at a time; it stops with its destruction.
class MessageRecorder {
 public:
  using RoleOf = std::function<Role(HWND)>;
  // Every message when watched is empty.
  explicit MessageRecorder(RoleOf roles, std::vector<UINT> watched = {});
  MessageRecorder(std::initializer_list<std::pair<HWND, Role>> windows, std::vector<UINT> watched = {});
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // Watches other messages from now on, and forgets what was recorded.
  void Watch(std::vector<UINT> watched);
  void Clear() { recorded_.clear(); }
  const std::vector<Msg>& Recorded() const { return recorded_; }

  // The record against expected: optional entries may be missing, nothing
  // may be extra. The failure names the first difference and lists both.
  // The record is cleared either way, so the next step starts afresh.
  ::testing::AssertionResult Matches(const std::vector<Msg>& expected);

  void Add(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted);

 private:
  RoleOf roles_;
  std::vector<UINT> watched_;
  std::vector<Msg> recorded_;
  HHOOK sent_ = nullptr;
  HHOOK posted_ = nullptr;
};

::testing::AssertionResult MatchSequence(const std::vector<Msg>& recorded, const std::vector<Msg>& expected);

}  // namespace vx::test_support
