// Folding and matching of the entry filter, on an index built by hand. This
// file is compiled as code page 932: narrow literals are the bytes an entry
// inserts, u"" literals the captions as the tree shows them.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tree/entry_filter.h"
#include "tree/text_fold.h"

namespace {

using vx::EntryIndex;

std::vector<std::uint32_t> Find(const EntryIndex& index, const std::u16string& typed) {
  std::vector<std::uint32_t> out(index.Count() + 1);
  out.resize(index.Find(typed.data(), typed.size(), out.data()));
  return out;
}

struct FoldCase {
  const char* name;
  std::u16string typed;
  std::u16string caption;
  const char* insertion;
  bool found;
};

const FoldCase FOLD_CASES[] = {
    {"ASCII in the caption",             u"table",        u"罫線無しの基本型　<TABLE>", "<TABLE></TABLE>", true},
    {"upper case typed",                 u"TaBlE",        u"表　<table>",               "<table></table>", true},
    {"full-width ASCII typed",           u"ＴＡＢＬＥ",   u"罫線無しの基本型　<TABLE>", "",                true},
    {"full-width ASCII in the caption",  u"table",        u"ＴＡＢＬＥ",                "",                true},
    {"kana the entry does not hold",     u"ﾀｲﾄﾙ",         u"題名　<title>",             "<title></title>", false},
    {"half-width to half-width",         u"ﾀｲﾄﾙ",         u"ﾀｲﾄﾙ　<TITLE>",             "",                true},
    {"hiragana for half-width",          u"たいとる",     u"ﾀｲﾄﾙ　<TITLE>",             "",                true},
    {"katakana for half-width",          u"タイトル",     u"ﾀｲﾄﾙ　<TITLE>",             "",                true},
    {"half-width for hiragana",          u"ﾀｲﾄﾙ",         u"たいとる",                  "",                true},
    {"voiced mark joins its kana",       u"がいど",       u"ｶﾞｲﾄﾞ",                     "",                true},
    {"joined kana is not the plain one", u"かいと",       u"ｶﾞｲﾄﾞ",                     "",                false},
    {"semi-voiced mark",                 u"ぱす",         u"ﾊﾟｽ",                       "",                true},
    {"full-width voiced mark",           u"ぶ",           u"フ゛",                      "",                true},
    {"vu",                               u"ｳﾞ",           u"ヴ",                        "",                true},
    {"long vowel mark",                  u"ﾌｧｲﾙのﾘﾛｰﾄﾞ",  u"ファイルのリロード",        "",                true},
    {"found in the inserted text",       u"title",        u"題名",                      "<TITLE></TITLE>", true},
    {"inserted text in code page 932",   u"ぱらぐらふ",   u"P",                         "<P>ﾊﾟﾗｸﾞﾗﾌ</P>",  true},
    {"every word must be there",         u"table border", u"枠線の太さ　<TABLE BORDER>", "",               true},
    {"one word missing",                 u"table width",  u"枠線の太さ　<TABLE BORDER>", "",               false},
    {"words in either part",             u"題名 title",   u"題名",                      "<TITLE>",         true},
    {"no word spans the two parts",      u"名<ti",        u"題名",                      "<TITLE>",         false},
    {"line breaks part words",           u"table\r\nborder", u"<TABLE BORDER>",         "",                true},
    {"ideographic space parts words",    u"table　border", u"<TABLE BORDER>",           "",                true},
    {"invalid bytes around valid ones",  u"<table>",      u"",                          "\x80<TABLE>\x82", true},
    {"a lone lead keeps the next byte",  u"<p>",          u"",                          "\x81<P>",         true},
    {"empty filter",                     u"",             u"<TABLE>",                   "",                false},
    {"spaces only",                      u"  　 ",        u"<TABLE>",                   "",                false},
    {"200 characters",                   std::u16string(200, u'x'), u"<TABLE>",         "",                false},
};

TEST(EntryFilter, FoldsAndMatchesEveryWayOfTypingAWord) {
  for (const FoldCase& row : FOLD_CASES) {
    EntryIndex index;
    index.Add(7, row.caption.c_str(), u"folder", row.insertion);
    EXPECT_EQ(Find(index, row.typed).size(), row.found ? 1u : 0u) << row.name;
  }
}

TEST(EntryFilter, DecodesInvalidBytesAsReplacementCharacters) {
  struct Case {
    const char* bytes;
    std::u16string shown;
  } cases[] = {
      {"\x80<P>\x82",    u"\uFFFD<P>\uFFFD"},  // a byte that is no character; a lead at the end
      {"\x81\x7F" "a",   u"\uFFFD\x7F" u"a"},  // a lead whose next byte is no trail
      {"\x85\x40" "a",   u"\uFFFD" u"a"},      // lead and trail of an unused code: one
      {"ｱ表",            u"ｱ表"},
  };
  for (const Case& c : cases) {
    char16_t out[16];
    EXPECT_EQ(std::u16string(out, vx::DecodeCp932Text(c.bytes, out, 16)), c.shown) << c.bytes;
  }
  char16_t tight[3];
  EXPECT_EQ(vx::DecodeCp932Text("abcd", tight, 3), 2u) << "room for its zero is kept";
  EXPECT_EQ(tight[2], 0);
}

// Shown texts: the caption and folder as given, the first line of what the
// entry inserts.
TEST(EntryFilter, ShowsCaptionFolderAndFirstInsertedLine) {
  EntryIndex index;
  index.Add(11, u"基本構成　<HTML>", u"基本構成", "<HTML>\n  <HEAD>\n");
  index.Add(12, u"署名", nullptr, nullptr);
  ASSERT_EQ(index.Count(), 2u);
  EXPECT_EQ(index.Item(0), 11u);
  EXPECT_EQ(std::u16string(index.Caption(0)), u"基本構成　<HTML>");
  EXPECT_EQ(std::u16string(index.Folder(0)), u"基本構成");
  EXPECT_EQ(std::u16string(index.FirstLine(0)), u"<HTML>");
  EXPECT_EQ(std::u16string(index.Folder(1)), u"");
  EXPECT_EQ(std::u16string(index.FirstLine(1)), u"");
  EXPECT_EQ(Find(index, u"head"), (std::vector<std::uint32_t>{0})) << "found past the first line";
}

// Entries whose tag name starts with the first word come first, then the
// others, each in tree order; many entries exercise the index's growth.
TEST(EntryFilter, RanksTagNamesThatStartWithTheWordFirst) {
  EntryIndex index;
  index.Add(1, u"表の中のセル　<TD>", u"表", "<TD>table</TD>");
  index.Add(2, u"罫線無しの基本型　<TABLE>", u"表", "<TABLE></TABLE>");
  index.Add(3, u"題名　og:title", u"OGP", "<meta property=\"og:table\">");
  index.Add(4, u"表　<table>", u"HTML5", "<table></table>");
  index.Add(5, u"文書の終わり　</tablex>", u"HTML5", "");
  for (int i = 0; i < 3000; ++i) index.Add(100 + i, u"user entry", u"", "<text>");
  const std::vector<std::uint32_t> ranked = {1, 3, 4, 0, 2};
  EXPECT_EQ(Find(index, u"table"), ranked);
  EXPECT_EQ(Find(index, u"</TAB"), (std::vector<std::uint32_t>{1, 3, 4})) << "a typed </ is matched, not named";
  EXPECT_EQ(Find(index, u"ble"), (std::vector<std::uint32_t>{0, 1, 2, 3, 4})) << "no name starts so";
  EXPECT_EQ(Find(index, u"table 基本"), (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(Find(index, u"text").size(), 3000u);
  EXPECT_EQ(Find(index, u"text").front(), 5u);
  EXPECT_EQ(Find(index, std::u16string(400, u'x')).size(), 0u) << "an overlong filter is cut, not overrun";
}

}  // namespace
