// The convert command that "vxtags check" suggests, in each shell's quoting:
// a path of any form comes back as one word naming the same file.
#include <string>

#include <gtest/gtest.h>

#include "vxtags/convert_suggestion.h"

namespace {

using vxtags::Shell;

struct Suggestion {
  Shell shell;
  const char* input;
  bool regularFile;
  const char* command;
};

const Suggestion SUGGESTIONS[] = {
    {Shell::Posix, "html5.def.utf8", true, "vxtags convert html5.def.utf8 html5.def"},
    {Shell::Posix, "/tmp/a b $HOME.def", true, "vxtags convert '/tmp/a b $HOME.def' '/tmp/a b $HOME.cp932.def'"},
    {Shell::Posix, "it's.def", true, "vxtags convert 'it'\\''s.def' 'it'\\''s.cp932.def'"},
    {Shell::Posix, "-x.def.utf8", true, "vxtags convert ./-x.def.utf8 ./-x.def"},
    {Shell::Posix, "taro.yamada/mytags", true, "vxtags convert taro.yamada/mytags taro.yamada/mytags.cp932"},
    // A backslash is part of a POSIX name.
    {Shell::Posix, "taro.yamada\\mytags", true, "vxtags convert 'taro.yamada\\mytags' 'taro.cp932.yamada\\mytags'"},
    {Shell::Posix, "/dev/stdin", false, "vxtags convert /dev/stdin NAME.def"},
    {Shell::Posix, "-", true, "vxtags convert - NAME.def"},
    {Shell::Cmd, "html5.def.utf8", true, "vxtags convert html5.def.utf8 html5.def"},
    {Shell::Cmd, "taro.yamada\\mytags", true, "vxtags convert taro.yamada\\mytags taro.yamada\\mytags.cp932"},
    {Shell::Cmd, "taro.yamada/mytags", true, "vxtags convert taro.yamada/mytags taro.yamada/mytags.cp932"},
    {Shell::Cmd, "C:.vx", true, "vxtags convert C:.vx C:.vx.cp932"},
    {Shell::Cmd, "C:\\Users\\taro\\定義 ファイル.def", true,
     "vxtags convert \"C:\\Users\\taro\\定義 ファイル.def\" \"C:\\Users\\taro\\定義 ファイル.cp932.def\""},
    {Shell::Cmd, "a&b|c^d's.def.utf8", true, "vxtags convert \"a&b|c^d's.def.utf8\" \"a&b|c^d's.def\""},
    {Shell::Cmd, "-x.def", true, "vxtags convert .\\-x.def .\\-x.cp932.def"},
    // Backslashes before a closing quote would escape it for the program's parser.
    {Shell::Cmd, "a b\\", false, "vxtags convert \"a b\\\\\" NAME.def"},
    {Shell::Cmd, "\\\\.\\pipe\\defs", false, "vxtags convert \\\\.\\pipe\\defs NAME.def"},
    {Shell::Cmd, "-", false, "vxtags convert - NAME.def"},
};

TEST(ConvertSuggestion, EachShellGetsACommandItRunsAsItStands) {
  for (const Suggestion& s : SUGGESTIONS)
    EXPECT_EQ(vxtags::ConvertCommand(s.input, s.regularFile, s.shell), s.command) << s.input;
}

}  // namespace
