// The placement values as the built DLL reads and writes them in the registry.
#include <windows.h>

#include <string>

#include "tests/addin/addin_host_win32.h"
#include "tests/win32/import_patch_win32.h"

namespace vx::test {
namespace {

RECT Outer(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

std::string Stored(const char* name) {
  DWORD type = 0;
  std::string data;
  if (!AddinHost::ReadValue(name, &type, &data)) return "<missing>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  return data;  // with its terminating zero
}

// The placement the add-in asks for when it makes the tag window, before the
// window system bends a size it cannot show.
struct Requested {
  int x = 0, y = 0, w = 0, h = 0;
};
class CreationWatch {
 public:
  CreationWatch()
      : hook_([this](int code, WPARAM, LPARAM lParam) {
          if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if (create->lpszName && std::string(create->lpszName).rfind("VX HTML", 0) == 0) {
              tag_ = {create->x, create->y, create->cx, create->cy};
            }
          }
          return false;
        }) {}
  const Requested& Tag() const { return tag_; }

 private:
  Requested tag_;
  CbtHook hook_;
};

using std::string_literals::operator""s;

using Placement = AddinHost;

TEST_F(Placement, FirstRunDocksAgainstTheEditWindowAndSavesAllFour) {
  ASSERT_TRUE(Open());
  const RECT r = Outer(TagFrame());
  EXPECT_EQ(r.left, 700);
  EXPECT_EQ(r.top, 52);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 598);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, PLACEMENT_KEY, 0, KEY_READ, &key), ERROR_SUCCESS)
      << "the key is made at the opening";
  RegCloseKey(key);
  EXPECT_EQ(Stored("HtWinX"), "<missing>");
  CloseAndDelete();
  // Never moved or resized, and still all four are written.
  EXPECT_EQ(Stored("HtWinX"), "700\0"s);
  EXPECT_EQ(Stored("HtWinY"), "52\0"s);
  EXPECT_EQ(Stored("HtWinW"), "200\0"s);
  EXPECT_EQ(Stored("HtWinH"), "598\0"s);

  // An odd width: the quarter truncates and the right edges still meet.
  DeletePlacementKey();
  MoveWindow(edit, 0, 50, 1023, 600, FALSE);
  ASSERT_TRUE(Open());
  EXPECT_EQ(Outer(TagFrame()).left, 768);
  EXPECT_EQ(Outer(TagFrame()).right, 1023);
}

TEST_F(Placement, EachValueIsReadAloneWhateverItsText) {
  struct Case {
    std::string x, y;
    int wantX, wantY;
  };
  const Case cases[] = {
      {"  -15abc", "+40", -15, 40},
      {"abc", "", 0, 0},
      {"4294967297", "0000000000000000123", 1, 123},  // wraps; 19 characters fit
      {"00000000000000000030", "7", 700, 7},          // 20 characters do not: the default
  };
  for (const Case& c : cases) {
    DeletePlacementKey();
    WriteText("HtWinX", c.x);
    WriteText("HtWinY", c.y);
    WriteText("HtWinW", "250");
    WriteText("HtWinH", "300");
    ASSERT_TRUE(Open());
    const RECT r = Outer(TagFrame());
    EXPECT_EQ(r.left, c.wantX) << c.x;
    EXPECT_EQ(r.top, c.wantY) << c.y;
    EXPECT_EQ(r.right - r.left, 250);
    EXPECT_EQ(r.bottom - r.top, 300);
    CloseAndDelete();
  }

  // Only HtWinY missing: the others stored, Y the edit window's top + 2.
  DeletePlacementKey();
  WriteText("HtWinX", "10");
  WriteText("HtWinW", "260");
  WriteText("HtWinH", "310");
  ASSERT_TRUE(Open());
  RECT r = Outer(TagFrame());
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 52);
  EXPECT_EQ(r.right - r.left, 260);
  EXPECT_EQ(r.bottom - r.top, 310);
  CloseAndDelete();

  // Values of other types are read as their bytes, within the buffer.
  DeletePlacementKey();
  const DWORD dword = '6' | ('5' << 8);  // bytes "65\0\0"
  WriteValue("HtWinX", REG_DWORD, &dword, sizeof dword);
  const char binary[] = {'3', '3', 'z'};
  WriteValue("HtWinY", REG_BINARY, binary, sizeof binary);
  const std::string big(64, '1');  // longer than the buffer: the default
  WriteValue("HtWinW", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
  const char digits20[] = "12345678901234567890";  // exactly 20 bytes, no zero
  WriteValue("HtWinH", REG_BINARY, digits20, 20);
  {
    CreationWatch watch;
    ASSERT_TRUE(Open());
    // They fit the buffer: read to their end, wrapped like any other.
    EXPECT_EQ(watch.Tag().h, static_cast<int>(12345678901234567890ull & 0xFFFFFFFFu));
  }
  r = Outer(TagFrame());
  EXPECT_EQ(r.left, 65);
  EXPECT_EQ(r.top, 33);
  EXPECT_EQ(r.right - r.left, 200);
  CloseAndDelete();
  EXPECT_EQ(Stored("HtWinX"), "65\0"s) << "saving rewrites every value as text";
}

TEST_F(Placement, SavesTheLastNormalPlacement) {
  ASSERT_TRUE(Open());
  MoveWindow(TagFrame(), -4, 30, 240, 360, TRUE);
  CloseAndDelete();
  EXPECT_EQ(Stored("HtWinX"), "-4\0"s);
  EXPECT_EQ(Stored("HtWinY"), "30\0"s);
  EXPECT_EQ(Stored("HtWinW"), "240\0"s);
  EXPECT_EQ(Stored("HtWinH"), "360\0"s);

  ASSERT_TRUE(Open());
  EXPECT_EQ(Outer(TagFrame()).left, -4);
  ShowWindow(TagFrame(), SW_MAXIMIZE);
  CloseAndDelete();
  EXPECT_EQ(Stored("HtWinX"), "-4\0"s);
  EXPECT_EQ(Stored("HtWinW"), "240\0"s);

  ASSERT_TRUE(Open());
  ShowWindow(TagFrame(), SW_MINIMIZE);
  CloseAndDelete();
  EXPECT_EQ(Stored("HtWinX"), "-4\0"s);
  EXPECT_EQ(Stored("HtWinY"), "30\0"s);
  EXPECT_EQ(Stored("HtWinH"), "360\0"s);
}

BOOL WINAPI MonitorsUnknown(HDC, LPCRECT, MONITORENUMPROC, LPARAM) { return FALSE; }

// As after unplugging the monitor that showed it: stored where no screen is.
TEST_F(Placement, AWindowNoScreenShowsOpensInTheNearestWorkAreaAndIsSavedFromThere) {
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  const std::string right = std::to_string(work.right - 300) + '\0';
  const std::string bottom = std::to_string(work.bottom - 500) + '\0';
  for (const bool monitorsKnown : {true, false}) {
    SCOPED_TRACE(monitorsKnown ? "monitors asked" : "the monitor query fails");
    const auto unknown = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&MonitorsUnknown));
    FARPROC original = monitorsKnown ? nullptr
        : test_support::PatchImport(addin, "user32.dll", "EnumDisplayMonitors", unknown);
    ASSERT_TRUE(monitorsKnown || original) << "the add-in does not import EnumDisplayMonitors";
    DeletePlacementKey();
    WriteText("HtWinX", "5000");
    WriteText("HtWinY", "4000");
    WriteText("HtWinW", "300");
    WriteText("HtWinH", "500");
    ASSERT_TRUE(Open());
    const RECT r = Outer(TagFrame());
    EXPECT_EQ(r.left, work.right - 300);
    EXPECT_EQ(r.top, work.bottom - 500);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 500);
    CloseAndDelete();
    if (original) test_support::PatchImport(addin, "user32.dll", "EnumDisplayMonitors", original);
    EXPECT_EQ(Stored("HtWinX"), right) << "saved from where the window was";
    EXPECT_EQ(Stored("HtWinY"), bottom);
    EXPECT_EQ(Stored("HtWinW"), "300\0"s);
  }
}

TEST_F(Placement, AGoneEditWindowStillGivesAUsableWindow) {
  HWND gone = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  ASSERT_TRUE(OpenWith(gone, ""));
  const RECT r = Outer(TagFrame());
  EXPECT_GT(r.right - r.left, 50);
  EXPECT_GT(r.bottom - r.top, 50);
}

}  // namespace
}  // namespace vx::test
