// The palette's command line and the hotkey's written form.
#include "palette/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vxpalette::CommandLine;
using vxpalette::Hotkey;
using vxpalette::InsertMethod;

constexpr unsigned CTRL = vxpalette::HOTKEY_CONTROL;
constexpr unsigned ALT = vxpalette::HOTKEY_ALT;
constexpr unsigned SHIFT = vxpalette::HOTKEY_SHIFT;
constexpr unsigned WIN = vxpalette::HOTKEY_WIN;

struct LineCase {
  std::vector<std::u16string> arguments;
  bool accepted;
  bool help;
  std::u16string definition;
  InsertMethod method;
  Hotkey hotkey;
};

const std::vector<LineCase> LINES = {
    {{},                                              true,  false, u"",        InsertMethod::Auto,      {CTRL | ALT, 'H'}},
    {{u"--help"},                                     true,  true,  u"",        InsertMethod::Auto,      {CTRL | ALT, 'H'}},
    {{u"/?"},                                         true,  true,  u"",        InsertMethod::Auto,      {CTRL | ALT, 'H'}},
    {{u"--definition", u"C:\\データ\\my.def"},         true,  false, u"C:\\データ\\my.def", InsertMethod::Auto, {CTRL | ALT, 'H'}},
    {{u"--method", u"message"},                       true,  false, u"",        InsertMethod::Message,   {CTRL | ALT, 'H'}},
    {{u"--method", u"KEYS", u"--hotkey", u"win+f9"},  true,  false, u"",        InsertMethod::Keys,      {WIN, 0x78}},
    {{u"--method", u"clipboard"},                     true,  false, u"",        InsertMethod::Clipboard, {CTRL | ALT, 'H'}},
    {{u"--method", u"auto"},                          true,  false, u"",        InsertMethod::Auto,      {CTRL | ALT, 'H'}},
    {{u"--method", u"paste"},                         false, false, u"", InsertMethod::Auto, {}},
    {{u"--method"},                                   false, false, u"", InsertMethod::Auto, {}},
    {{u"--definition"},                               false, false, u"", InsertMethod::Auto, {}},
    {{u"--definition", u""},                          false, false, u"", InsertMethod::Auto, {}},
    {{u"--definition", u"a.def", u"--definition", u"b.def"}, false, false, u"", InsertMethod::Auto, {}},
    {{u"--method", u"keys", u"--method", u"keys"},    false, false, u"", InsertMethod::Auto, {}},
    {{u"--hotkey", u"H"},                             false, false, u"", InsertMethod::Auto, {}},
    {{u"file.def"},                                   false, false, u"", InsertMethod::Auto, {}},
    {{u"--Help"},                                     false, false, u"", InsertMethod::Auto, {}},
};

TEST(PaletteCommandLine, AcceptsTheUsageAndRefusesEverythingElse) {
  for (const LineCase& c : LINES) {
    std::string shown;
    for (const std::u16string& a : c.arguments) shown += std::string(a.begin(), a.end()) + " ";
    CommandLine options;
    ASSERT_EQ(vxpalette::ParseCommandLine(c.arguments, options), c.accepted) << shown;
    if (!c.accepted) continue;
    EXPECT_EQ(options.help, c.help) << shown;
    EXPECT_EQ(options.definitionPath, c.definition) << shown;
    EXPECT_EQ(options.method, c.method) << shown;
    EXPECT_TRUE(options.hotkey == c.hotkey) << shown;
  }
}

struct HotkeyCase {
  std::u16string text;
  bool accepted;
  Hotkey hotkey;
  std::u16string written;  // what the menu and the settings show
};

const std::vector<HotkeyCase> HOTKEYS = {
    {u"Ctrl+Alt+H",        true,  {CTRL | ALT, 'H'},            u"Ctrl+Alt+H"},
    {u"alt+control+h",     true,  {CTRL | ALT, 'H'},            u"Ctrl+Alt+H"},
    {u"Shift+Win+Space",   true,  {SHIFT | WIN, 0x20},          u"Shift+Win+Space"},
    {u"Ctrl+Shift+7",      true,  {CTRL | SHIFT, '7'},          u"Ctrl+Shift+7"},
    {u"Alt+F1",            true,  {ALT, 0x70},                  u"Alt+F1"},
    {u"Ctrl+F24",          true,  {CTRL, 0x87},                 u"Ctrl+F24"},
    {u"Ctrl+F25",          false, {}, u""},
    {u"Ctrl+F0",           false, {}, u""},
    {u"Ctrl+F01",          false, {}, u""},
    {u"Shift+H",           false, {}, u""},  // would take a capital H from every program
    {u"H",                 false, {}, u""},
    {u"Ctrl+Ctrl+H",       false, {}, u""},
    {u"Ctrl+",             false, {}, u""},
    {u"Ctrl+Alt",          false, {}, u""},
    {u"Ctrl+Hyper+H",      false, {}, u""},
    {u"Ctrl+Alt+HH",       false, {}, u""},
    {u"",                  false, {}, u""},
};

TEST(PaletteCommandLine, HotkeysAreReadAndWrittenInOneForm) {
  for (const HotkeyCase& c : HOTKEYS) {
    const std::string shown(c.text.begin(), c.text.end());
    Hotkey hotkey{CTRL, 'Q'};
    ASSERT_EQ(vxpalette::ParseHotkey(c.text, hotkey), c.accepted) << shown;
    if (!c.accepted) {
      EXPECT_TRUE(hotkey == (Hotkey{CTRL, 'Q'})) << shown << ": a refused text leaves the hotkey alone";
      continue;
    }
    EXPECT_TRUE(hotkey == c.hotkey) << shown;
    EXPECT_EQ(vxpalette::HotkeyText(hotkey), c.written) << shown;
    Hotkey again;
    EXPECT_TRUE(vxpalette::ParseHotkey(vxpalette::HotkeyText(hotkey), again) && again == hotkey) << shown;
  }
}

}  // namespace
