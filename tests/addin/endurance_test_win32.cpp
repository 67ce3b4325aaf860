// Many openings and closings in one process leave nothing of the add-in
// behind. GDI and user object counts read 0 under Wine, so the working set
// is the measure (leaking image lists or bitmaps by the thousand shows there).
#include <windows.h>

#include <psapi.h>

#include "tests/addin/addin_host_win32.h"

namespace vx::test {
namespace {

const char PARAGRAPH[] = "段落　<P>";
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

using Endurance = AddinHost;

TEST_F(Endurance, FiveHundredCyclesLeaveNothingBehind) {
  recorder.reset();  // nothing here compares messages: the cycles run without hooks
  auto cycle = [&] {
    ASSERT_TRUE(Open());
    Pump();
    const HTREEITEM paragraph = FindItem(PARAGRAPH);
    ASSERT_NE(paragraph, nullptr);
    PressEnterOn(paragraph);
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
