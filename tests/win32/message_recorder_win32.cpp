#include "tests/win32/message_recorder_win32.h"

#include <algorithm>
#include <sstream>

namespace vx::test_support {
namespace {

MessageRecorder* Active = nullptr;

struct Name {
  UINT message;
  const char* name;
};
constexpr Name NAMES[] = {
    {WM_SIZE, "WM_SIZE"},           {WM_ACTIVATE, "WM_ACTIVATE"},         {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"}, {WM_HOST_INSERT, "WM_HOST_INSERT"},
};

// In the order of Role.
constexpr const char* ROLE_NAMES[] = {"none", "host", "edit", "tag", "tree"};

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && Active) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    Active->Add(sent->hwnd, sent->message, sent->wParam, sent->lParam, false);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A message peeked without removal is seen again when it is taken.
LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && Active) {
    const auto* posted = reinterpret_cast<const MSG*>(lParam);
    if (posted->hwnd) Active->Add(posted->hwnd, posted->message, posted->wParam, posted->lParam, true);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string Listing(const std::vector<Msg>& messages) {
  std::ostringstream out;
  for (std::size_t i = 0; i < messages.size(); ++i) out << "\n  " << i << ": " << messages[i];
  if (messages.empty()) out << " (none)";
  return out.str();
}

}  // namespace

Msg Msg::WithLParam(LPARAM l) const {
  Msg m = *this;
  m.lParam = l;
  m.checkLParam = true;
  return m;
}
Msg Msg::WithText(std::string t) const {
  Msg m = *this;
  m.text = std::move(t);
  m.checkText = true;
  return m;
}
Msg Msg::Posted() const {
  Msg m = *this;
  m.posted = true;
  return m;
}
Msg Msg::AnyWParam() const {
  Msg m = *this;
  m.anyWParam = true;
  return m;
}
Msg Msg::Optional() const {
  Msg m = *this;
  m.optional = true;
  return m;
}

bool Msg::Matches(const Msg& recorded) const {
  return role == recorded.role && message == recorded.message && posted == recorded.posted &&
         (anyWParam || wParam == recorded.wParam) && (!checkLParam || lParam == recorded.lParam) &&
         (!checkText || text == recorded.text);
}

std::ostream& operator<<(std::ostream& out, const Msg& m) {
  out << ROLE_NAMES[static_cast<int>(m.role)] << (m.posted ? " posted " : " sent ");
  const auto name = std::find_if(std::begin(NAMES), std::end(NAMES),
                                 [&](const Name& n) { return n.message == m.message; });
  if (name != std::end(NAMES)) {
    out << name->name;
  } else {
    out << "0x" << std::hex << m.message << std::dec;
  }
  out << " w=";
  if (m.anyWParam) {
    out << "*";
  } else {
    out << static_cast<long long>(static_cast<INT_PTR>(m.wParam));
  }
  out << " l=0x" << std::hex << static_cast<unsigned long long>(m.lParam) << std::dec;
  if (m.message == WM_HOST_INSERT) out << " \"" << m.text << "\"";
  if (m.optional) out << " (optional)";
  return out;
}
void PrintTo(const Msg& m, std::ostream* out) { *out << m; }

Msg Insert(InsertCode code, const char* text) {
  return Msg(Role::Edit, WM_HOST_INSERT, static_cast<WPARAM>(static_cast<INT_PTR>(code))).WithText(text);
}
Msg HandBack(HWND tree) { return Msg(Role::Host, WM_ACTIVATE, WA_CLICKACTIVE).WithLParam(tree); }
Msg ResizeNotice(HWND tagWindow) {
  return Msg(Role::Host, WM_PARENTNOTIFY, MAKEWPARAM(WM_SIZE, 0)).WithLParam(tagWindow);
}
Msg TreeActivation(HWND tagWindow) {
  return Msg(Role::Tree, WM_ACTIVATE, WA_CLICKACTIVE).WithLParam(tagWindow).Posted();
}

MessageRecorder::MessageRecorder(RoleOf roles, std::vector<UINT> watched)
    : roles_(std::move(roles)), watched_(std::move(watched)) {
  Active = this;
  sent_ = SetWindowsHookExA(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
  posted_ = SetWindowsHookExA(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId());
}

MessageRecorder::MessageRecorder(std::initializer_list<std::pair<HWND, Role>> windows,
                                 std::vector<UINT> watched)
    : MessageRecorder(
          [table = std::vector<std::pair<HWND, Role>>(windows)](HWND window) {
            for (const auto& [handle, role] : table) {
              if (handle == window) return role;
            }
            return Role::None;
          },
          std::move(watched)) {}

MessageRecorder::~MessageRecorder() {
  if (sent_) UnhookWindowsHookEx(sent_);
  if (posted_) UnhookWindowsHookEx(posted_);
  if (Active == this) Active = nullptr;
}

void MessageRecorder::Watch(std::vector<UINT> watched) {
  watched_ = std::move(watched);
  recorded_.clear();
}

void MessageRecorder::Add(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
  if (!watched_.empty() && std::find(watched_.begin(), watched_.end(), message) == watched_.end()) return;
  const Role role = roles_(window);
  if (role == Role::None) return;
  Msg m(role, message, wParam);
  m.lParam = lParam;
  m.posted = posted;
  if (message == WM_HOST_INSERT && lParam && !posted) m.text = reinterpret_cast<const char*>(lParam);
  recorded_.push_back(std::move(m));
}

::testing::AssertionResult MessageRecorder::Matches(const std::vector<Msg>& expected) {
  const std::vector<Msg> recorded = std::move(recorded_);
  recorded_.clear();
  // Without its hooks the recorder would see nothing and an empty
  // expectation would pass by accident.
  if (!sent_ || !posted_) return ::testing::AssertionFailure() << "the recorder's hooks are not installed";
  return MatchSequence(recorded, expected);
}

::testing::AssertionResult MatchSequence(const std::vector<Msg>& recorded, const std::vector<Msg>& expected) {
  std::size_t e = 0, r = 0;
  while (e < expected.size() || r < recorded.size()) {
    if (e < expected.size() && r < recorded.size() && expected[e].Matches(recorded[r])) {
      ++e;
      ++r;
    } else if (e < expected.size() && expected[e].optional) {
      ++e;
    } else {
      auto failure = ::testing::AssertionFailure() << "first difference at recorded message " << r << ": ";
      if (e < expected.size()) {
        failure << "expected " << expected[e];
      } else {
        failure << "expected nothing more";
      }
      failure << ", ";
      if (r < recorded.size()) {
        failure << "recorded " << recorded[r];
      } else {
        failure << "recorded nothing more";
      }
      return failure << "\nexpected:" << Listing(expected) << "\nrecorded:" << Listing(recorded);
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace vx::test_support
