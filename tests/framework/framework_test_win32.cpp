// The framework on real native windows: dispatch through response tables,
// set-up, placement tracking, deferred deletion and the default class.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "framework/framework_win32.h"

namespace {

constexpr UINT PROBE = WM_APP + 1;
constexpr UINT OTHER = WM_APP + 2;

std::vector<std::string> Log;

struct FrameworkTest : ::testing::Test {
  TApplication app{GetModuleHandleA(nullptr)};
  void SetUp() override { Log.clear(); }
};

// A frame that counts its set-ups and destructions and may refuse to close.
class TProbeFrame : public TFrameWindow {
 public:
  explicit TProbeFrame(TWindow* parent, int* deathCounter = nullptr)
      : TFrameWindow(parent, "probe"), deaths(deathCounter) {}
  ~TProbeFrame() override {
    if (deaths) ++*deaths;
  }
  bool CanClose() override { return allowClose; }

  static const TResponseTable& ResponseTable() {
    static constexpr TResponseEntry ROWS[] = {
        {PROBE, Respond<&TProbeFrame::EvProbe>},
        {OTHER, Respond<&TProbeFrame::EvOther>},
    };
    static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
    return TABLE;
  }

  int setups = 0;
  bool handleExistedAtSetup = false;
  bool allowClose = true;
  int* deaths;

 protected:
  const TResponseTable& Responses() const override { return ResponseTable(); }
  void SetupWindow() override {
    TFrameWindow::SetupWindow();
    ++setups;
    handleExistedAtSetup = GetHandle() && IsWindow(GetHandle());
  }
  LRESULT EvProbe(WPARAM, LPARAM) {
    Log.push_back("base probe");
    return 1;
  }
  LRESULT EvOther(WPARAM, LPARAM) {
    Log.push_back("base other");
    return 2;
  }
};

class TDerivedFrame : public TProbeFrame {
 public:
  using TProbeFrame::TProbeFrame;
  static const TResponseTable& ResponseTable() {
    static constexpr TResponseEntry ROWS[] = {{PROBE, Respond<&TDerivedFrame::EvProbe>}};
    static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TProbeFrame::ResponseTable);
    return TABLE;
  }

 protected:
  const TResponseTable& Responses() const override { return ResponseTable(); }
  LRESULT EvProbe(WPARAM w, LPARAM l) {
    Log.push_back("derived probe");
    return DispatchFrom(TProbeFrame::ResponseTable(), PROBE, w, l) + 10;
  }
};

// The top-level windows of the tests hang below a root object that carries
// the application, as the host's window object does for the tag window.
struct Root : TWindow {
  explicit Root(TApplication& app) : TWindow(nullptr, nullptr, &app) {}
};

struct Placement {
  int x, y, w, h;
  bool operator==(const Placement& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};
std::ostream& operator<<(std::ostream& out, const Placement& p) {
  return out << p.x << "," << p.y << " " << p.w << "x" << p.h;
}

Placement PlacementOf(const TWindow& window) {
  return {window.attr.x, window.attr.y, window.attr.w, window.attr.h};
}

HWND MakeFrame(TWindow& frame, int x, int y, int w, int h) {
  frame.attr.x = x;
  frame.attr.y = y;
  frame.attr.w = w;
  frame.attr.h = h;
  return frame.Create() ? frame.GetHandle() : nullptr;
}

TEST_F(FrameworkTest, DerivedRowRunsFirstAndReachesTheBaseRowThenDefaultHandling) {
  Root root(app);
  auto* frame = new TDerivedFrame(&root);
  HWND hwnd = MakeFrame(*frame, 0, 0, 200, 100);
  ASSERT_NE(hwnd, nullptr);

  EXPECT_EQ(SendMessageA(hwnd, PROBE, 0, 0), 11);
  EXPECT_EQ(SendMessageA(hwnd, OTHER, 0, 0), 2);  // no derived row: the base row answers
  EXPECT_EQ(Log, (std::vector<std::string>{"derived probe", "base probe", "base other"}));

  char title[16] = {};  // no row at all: DefWindowProcA answers
  EXPECT_EQ(SendMessageA(hwnd, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title)), 5);
  EXPECT_STREQ(title, "probe");
}

TEST_F(FrameworkTest, SetupRunsOnceWithTheWindowInPlaceBeforeCreateReturns) {
  Root root(app);
  auto* frame = new TProbeFrame(&root);
  ASSERT_NE(MakeFrame(*frame, 0, 0, 200, 100), nullptr);
  EXPECT_EQ(frame->setups, 1);
  EXPECT_TRUE(frame->handleExistedAtSetup);
  EXPECT_FALSE(frame->Create());  // a second native window is refused
  app.PumpWaitingMessages();
  EXPECT_EQ(frame->setups, 1);
  EXPECT_EQ(frame->GetApplication(), &app);
  EXPECT_EQ(GetWindow(frame->GetHandle(), GW_OWNER), nullptr);  // root has no native window
}

TEST_F(FrameworkTest, PlacementFollowsOnlyTheNormalWindow) {
  Root root(app);
  auto* frame = new TProbeFrame(&root);
  HWND hwnd = MakeFrame(*frame, 40, 30, 300, 200);
  ASSERT_NE(hwnd, nullptr);

  MoveWindow(hwnd, 50, 60, 320, 240, TRUE);
  app.PumpWaitingMessages();
  const Placement normal{50, 60, 320, 240};
  EXPECT_EQ(PlacementOf(*frame), normal);

  ShowWindow(hwnd, SW_MAXIMIZE);
  app.PumpWaitingMessages();
  ASSERT_TRUE(IsZoomed(hwnd));
  EXPECT_EQ(PlacementOf(*frame), normal);

  ShowWindow(hwnd, SW_RESTORE);
  ShowWindow(hwnd, SW_MINIMIZE);
  app.PumpWaitingMessages();
  ASSERT_TRUE(IsIconic(hwnd));
  EXPECT_EQ(PlacementOf(*frame), normal);
}

TEST_F(FrameworkTest, ChildPlacementIsInParentClientCoordinates) {
  Root root(app);
  auto* frame = new TFrameWindow(&root, "frame");
  ASSERT_NE(MakeFrame(*frame, 100, 100, 300, 200), nullptr);
  auto* child = new TWindow(frame);
  ASSERT_TRUE(child->Create());
  EXPECT_EQ(GetParent(child->GetHandle()), frame->GetHandle());
  EXPECT_EQ(child->GetApplication(), &app);

  MoveWindow(child->GetHandle(), 5, 7, 50, 40, TRUE);
  EXPECT_EQ(PlacementOf(*child), (Placement{5, 7, 50, 40}));
}

TEST_F(FrameworkTest, ClosedObjectOutlivesItsWindowUntilTheLoopRuns) {
  Root root(app);
  int deaths = 0;
  auto* frame = new TProbeFrame(&root, &deaths);
  EXPECT_FALSE(frame->HadWindow());
  HWND hwnd = MakeFrame(*frame, 0, 0, 200, 100);
  ASSERT_NE(hwnd, nullptr);

  frame->allowClose = false;
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  app.DeleteCondemned();
  EXPECT_EQ(deaths, 0) << "a refused close queues nothing";

  frame->allowClose = true;
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(frame->GetHandle(), nullptr);
  EXPECT_TRUE(frame->HadWindow()) << "still known once the window is gone";
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(root.FirstChild(), nullptr);  // detached from its parent at once

  app.PumpWaitingMessages();
  EXPECT_EQ(deaths, 1) << "queued by the close, deleted by the loop";
}

// The loop must delete after every message, not only when idle: a message
// queued behind the close already sees the object gone.
TEST_F(FrameworkTest, MessageLoopDeletesBeforeTheNextMessage) {
  Root root(app);
  int deaths = 0;
  auto* closing = new TProbeFrame(&root, &deaths);
  auto* observer = new TProbeFrame(&root);
  ASSERT_NE(MakeFrame(*closing, 0, 0, 200, 100), nullptr);
  ASSERT_NE(MakeFrame(*observer, 0, 0, 200, 100), nullptr);

  struct TWatch : TWindow {
    TWatch(TWindow* p, int* d) : TWindow(p), deaths(d) {}
    static const TResponseTable& ResponseTable() {
      static constexpr TResponseEntry ROWS[] = {{PROBE, Respond<&TWatch::EvProbe>}};
      static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TWindow::ResponseTable);
      return TABLE;
    }
    const TResponseTable& Responses() const override { return ResponseTable(); }
    LRESULT EvProbe(WPARAM, LPARAM) {
      Log.push_back(*deaths ? "gone" : "alive");
      return 0;
    }
    int* deaths;
  };
  auto* watch = new TWatch(observer, &deaths);
  ASSERT_TRUE(watch->Create());

  PostMessageA(closing->GetHandle(), WM_CLOSE, 0, 0);
  PostMessageA(watch->GetHandle(), PROBE, 0, 0);
  PostQuitMessage(7);
  EXPECT_EQ(app.MessageLoop(), 7);
  EXPECT_EQ(Log, std::vector<std::string>{"gone"});
}

TEST_F(FrameworkTest, DeletingAParentDeletesItsChildrenAndTheirWindows) {
  int deaths = 0;
  auto* root = new Root(app);
  auto* parent = new TProbeFrame(root, &deaths);
  auto* owned = new TProbeFrame(parent, &deaths);
  auto* unborn = new TProbeFrame(parent, &deaths);  // never created
  ASSERT_NE(MakeFrame(*parent, 0, 0, 200, 100), nullptr);
  HWND ownedHandle = MakeFrame(*owned, 0, 0, 100, 50);
  ASSERT_NE(ownedHandle, nullptr);
  EXPECT_EQ(GetWindow(ownedHandle, GW_OWNER), parent->GetHandle());
  EXPECT_EQ(parent->FirstChild(), owned);
  EXPECT_EQ(owned->NextSibling(), unborn);

  // A condemned child no longer belongs to the parent, so it dies only once.
  SendMessageA(ownedHandle, WM_CLOSE, 0, 0);
  HWND parentHandle = parent->GetHandle();
  delete root;
  EXPECT_EQ(deaths, 2);
  EXPECT_FALSE(IsWindow(parentHandle));
  app.DeleteCondemned();
  EXPECT_EQ(deaths, 3);
}

TEST_F(FrameworkTest, ClosingTheMainWindowEndsTheLoopAndDeletesIt) {
  int deaths = 0;
  Root root(app);
  auto* top = new TProbeFrame(&root, &deaths);
  app.SetMainWindow(top);
  ASSERT_NE(MakeFrame(*top, 0, 0, 200, 100), nullptr);
  PostMessageA(top->GetHandle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.MessageLoop(), 0);
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(app.GetMainWindow(), nullptr);
}

TEST_F(FrameworkTest, DefaultClassHasDoubleClicksArrowAndWindowBrush) {
  Root root(app);
  auto* frame = new TProbeFrame(&root);
  ASSERT_NE(MakeFrame(*frame, 0, 0, 200, 100), nullptr);
  WNDCLASSA wc;
  ASSERT_TRUE(GetClassInfoA(GetModuleHandleA("vxframe.dll"), TWindow::DefaultClassName(), &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  char name[32] = {};
  GetClassNameA(frame->GetHandle(), name, sizeof name);
  EXPECT_STREQ(name, "VxFrameWindow");
}

}  // namespace
