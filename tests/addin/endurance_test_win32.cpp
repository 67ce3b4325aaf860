// Many openings and closings in one process leave nothing of the add-in
// behind. GDI and user object counts read 0 under Wine, so the working set
// is the measure (leaking image lists or bitmaps by the thousand shows there).
// Each cycle loads a definition file and inserts a plain tag; every few
// cycles a user entry follows, and less often a colour tag through the real
// dialog, accepted or cancelled in turn.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "tests/addin/addin_host_win32.h"

namespace vx::test {
namespace {

const char PARAGRAPH[] = "段落　<P>";
const char TABLE_BACKGROUND[] = "表の背景色　<TABLE BGCOLOR=\"#\">";
const char USER_ENTRY[] = "user entry";
// Activations cost time under Wine, the colour dialog most: one cycle in
// this many activates a user entry, and in that many a colour tag.
constexpr int USER_ENTRY_EVERY = 5;
constexpr int COLOUR_EVERY = 25;
constexpr int WARM_UP_CYCLES = 30;
constexpr int CYCLES = 500;
constexpr SIZE_T ALLOWED_GROWTH = 512 * 1024;

SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// A definition file of the test's own, removed at the end.
struct DefinitionFile {
  std::string path;
  DefinitionFile() {
    char folder[MAX_PATH];
    char name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    if (!GetTempFileNameA(folder, "vxe", 0, name)) return;
    path = name;
    std::FILE* file = std::fopen(name, "wb");
    if (!file) return;
    std::fprintf(file, "%s\r\n.folder\r\n%s\r\n<U>user</U>\r\n", "[VX-HTML定義ファイル]", USER_ENTRY);
    std::fclose(file);
  }
  ~DefinitionFile() {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
};

using Endurance = AddinHost;

TEST_F(Endurance, FiveHundredCyclesLeaveNothingBehind) {
  const DefinitionFile definitions;
  ASSERT_FALSE(definitions.path.empty());
  int cycleNumber = 0;
  // The insert requests alone are recorded, and each cycle's are compared and dropped.
  Messages().Watch({WM_HOST_INSERT});
  auto cycle = [&] {
    ASSERT_TRUE(Open(definitions.path.c_str()));
    Pump();
    const HTREEITEM paragraph = FindItem(PARAGRAPH);
    ASSERT_NE(paragraph, nullptr);
    PressEnterOn(paragraph);
    std::vector<Msg> expected{Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>")};
    if (cycleNumber % USER_ENTRY_EVERY == 0) {
      const HTREEITEM user = FindItem(USER_ENTRY);
      ASSERT_NE(user, nullptr);
      PressEnterOn(user);
      expected.push_back(Insert(InsertDefinitionText, "<U>user</U>"));
    }
    if (cycleNumber % COLOUR_EVERY == 0) {
      const bool accept = cycleNumber / COLOUR_EVERY % 2 == 0;
      ColourDialogScript script(nullptr, accept ? IDOK : IDCANCEL);
      SetFocus(Tree());
      PressEnterOn(FindItem(TABLE_BACKGROUND));
      ASSERT_TRUE(script.ran) << "the colour dialog did not come up";
      ASSERT_FALSE(script.TimedOut());
      // The dialog opens on the first colour and stays on it.
      expected.push_back(Insert(InsertLead, accept ? "<TABLE BGCOLOR=\"#FF8080\">" : "<TABLE BGCOLOR=\"#\">"));
    }
    ++cycleNumber;
    ASSERT_TRUE(Messages().Matches(expected));
    CloseAndDelete();
    ASSERT_TRUE(TagFrames().empty());
    SetWindowTextA(edit, "");
  };
  for (int i = 0; i < WARM_UP_CYCLES; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
  const int windowsBefore = ThreadWindowCount();
  const SIZE_T before = WorkingSet();
  for (int i = 0; i < CYCLES; ++i) ASSERT_NO_FATAL_FAILURE(cycle()) << "cycle " << i;
  const SIZE_T after = WorkingSet();
  EXPECT_EQ(ThreadWindowCount(), windowsBefore);
  EXPECT_LE(after, before + ALLOWED_GROWTH)
      << "working set grew from " << before << " to " << after << " bytes";
}

}  // namespace
}  // namespace vx::test
