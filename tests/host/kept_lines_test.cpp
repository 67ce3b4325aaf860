// Which lines keep their original bytes after an edit: a table of documents,
// their kept lines and the text after the edit.
#include "host/kept_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxhost {
namespace {

TEST(SplitLines, CrLfLoneCrAndLoneLfEndALine) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  };
  const Case CASES[] = {
      {L"",                    {}},
      {L"a",                   {L"a"}},
      {L"a\r\nb\rc\nd",        {L"a\r\n", L"b\r", L"c\n", L"d"}},
      {L"\r\r\n\n",            {L"\r", L"\r\n", L"\n"}},
      {L"a\n\r",               {L"a\n", L"\r"}},
  };
  for (const Case& c : CASES) {
    const auto got = SplitLines(std::wstring_view(c.text));
    EXPECT_EQ(std::vector<std::wstring>(got.begin(), got.end()), c.lines) << c.text.size();
  }
  const auto bytes = SplitLines(std::string_view("\xEE\xE0\r\xFB\xFC\r\n"));
  EXPECT_EQ(std::vector<std::string>(bytes.begin(), bytes.end()),
            (std::vector<std::string>{"\xEE\xE0\r", "\xFB\xFC\r\n"}));
}

// Lines are single letters; upper case ones are kept (their bytes are the
// letter and its place), lower case ones are written afresh.
struct EditCase {
  const char* what;
  std::wstring before;  // one character a line
  std::wstring after;
  std::string want;     // for each line after: the kept place it takes ('.' for none)
};

std::vector<std::wstring> Lines(const std::wstring& letters) {
  std::vector<std::wstring> lines;
  for (wchar_t c : letters) lines.push_back(std::wstring(1, static_cast<wchar_t>(c == L'X' || c == L'Y' ? L'T' : c)) + L"\r\n");
  return lines;
}

TEST(KeptLines, ALineKeepsItsBytesWhileItIsTheSameLine) {
  // X and Y show the same text (T) but were read from different bytes.
  static const EditCase CASES[] = {
      {"nothing changed",                  L"aXbY",   L"aTbT",   ".1.3"},
      {"the first line edited",            L"aXY",    L"zTT",    ".12"},
      {"the first line removed",           L"aXY",    L"TT",     "12"},
      {"a line added at the top",          L"XY",     L"zTT",    ".01"},
      {"a line added between",             L"XaY",    L"TbaT",   "0..2"},
      {"the kept line itself changed",     L"aXbY",   L"azbT",   "...3"},
      {"one of two equal lines removed",   L"XbY",    L"bT",     ".2"},
      {"a kept line moved to the end",     L"Xab",    L"abT",    "..."},
      {"everything replaced",              L"XaY",    L"pqrs",   "...."},
      {"nothing kept",                     L"ab",     L"ab",     ".."},
  };
  for (const EditCase& c : CASES) {
    const std::vector<std::wstring> before = Lines(c.before), after = Lines(c.after);
    std::vector<KeptLine> kept;
    for (std::size_t i = 0; i < c.before.size(); ++i) {
      if (c.before[i] == L'X' || c.before[i] == L'Y') kept.push_back(KeptLine{i, std::to_string(i)});
    }
    const KeptLines book(std::vector<std::wstring_view>(before.begin(), before.end()), kept);
    const std::vector<std::wstring_view> now(after.begin(), after.end());
    const std::vector<const std::string*> matches = book.Match(now);
    std::string got;
    for (const std::string* match : matches) got += match ? *match : std::string(".");
    EXPECT_EQ(got, c.want) << c.what;
    // After a save the lines kept stay kept, at their new places.
    const KeptLines saved = KeptLines::After(now, matches);
    std::string again;
    for (const std::string* match : saved.Match(now)) again += match ? *match : std::string(".");
    EXPECT_EQ(again, got) << c.what;
  }
}

// Far more differences than the comparison walks: it still keeps lines in
// order, and the lines equal at both ends by their place.
TEST(KeptLines, ManyDifferencesStillKeepOrder) {
  std::vector<std::wstring> before{L"T\r\n"}, after{L"T\r\n"};
  for (int i = 0; i < 3000; ++i) {
    before.push_back(L"old" + std::to_wstring(i) + L"\r\n");
    after.push_back(L"new" + std::to_wstring(i) + L"\r\n");
  }
  before.push_back(L"T\r\n");
  after.push_back(L"x\r\n");
  after.push_back(L"T\r\n");
  const KeptLines book(std::vector<std::wstring_view>(before.begin(), before.end()),
                       {KeptLine{0, "first"}, KeptLine{3001, "last"}});
  const auto matches = book.Match(std::vector<std::wstring_view>(after.begin(), after.end()));
  ASSERT_EQ(matches.size(), after.size());
  ASSERT_NE(matches.front(), nullptr);
  EXPECT_EQ(*matches.front(), "first");
  ASSERT_NE(matches.back(), nullptr);
  EXPECT_EQ(*matches.back(), "last");
}

}  // namespace
}  // namespace vxhost
