// Which foreground windows the palette takes as its target.
#include "palette/target_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  vxpalette::WindowFacts window;
  bool target;
};

const std::vector<Case> CASES = {
    {{true,  false, false, u"Notepad"},                true},
    {{true,  false, false, u"WordPadClass"},           true},
    {{true,  false, false, u"#32770"},                 true},   // another program's dialog
    {{true,  false, false, u"Shell_TrayWnd2"},         true},   // only the exact names are the shell's
    {{false, false, false, u"Notepad"},                false},  // gone
    {{true,  true,  false, u"VxFrameWindow"},          false},  // the tag window
    {{true,  true,  false, u"#32770"},                 false},  // the palette's own colour dialog
    {{true,  false, true,  u"Anything"},               false},
    {{true,  false, false, u"Shell_TrayWnd"},          false},
    {{true,  false, false, u"Shell_SecondaryTrayWnd"}, false},
    {{true,  false, false, u"Progman"},                false},
    {{true,  false, false, u"WorkerW"},                false},
    {{true,  false, false, u"#32769"},                 false},
};

TEST(TargetRules, OnlyAnotherProgramsWorkingWindowIsATarget) {
  for (const Case& c : CASES) {
    EXPECT_EQ(vxpalette::MayBeTarget(c.window), c.target)
        << std::string(c.window.className.begin(), c.window.className.end()) << " own " << c.window.ownProcess;
  }
}

}  // namespace
