// The shipped HTML5 library as the build converted it: the folders a web
// author looks for, nested as the file means them, each entry's text whole,
// and the snippets of today's HTML that the library promises.
// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"
#include "tests/deffile/recording_sink.h"

namespace {

std::vector<vx::test_support::RecordedItem> LoadLibrary() {
  vx::test_support::RecordingSink sink;
  vx::LoadDefinitionFile(VX_DEFINITIONS_DIR "/html5.def", sink);
  return sink.items;
}

TEST(Html5Library, FoldersNestUnderOneTopFolderAndEveryEntryHasItsText) {
  const auto items = LoadLibrary();
  ASSERT_FALSE(items.empty());
  std::map<vx::DefinitionItem, std::string> folders;
  for (const auto& item : items) {
    if (item.kind == vx::UserItemKind::Folder)
      folders[item.handle] = (item.parent ? folders.at(item.parent) + "/" : "") + item.caption;
  }
  std::vector<std::string> paths;
  for (const auto& [handle, path] : folders) paths.push_back(path);
  EXPECT_EQ(paths, (std::vector<std::string>{"HTML5", "HTML5/文書", "HTML5/文書/頭部の中身", "HTML5/文書/OGP（SNS での表示）",
                                             "HTML5/セクション", "HTML5/テキスト", "HTML5/リスト", "HTML5/リンクとメディア",
                                             "HTML5/表", "HTML5/フォーム", "HTML5/文字参照", "HTML5/よく使う部品"}));
  int entries = 0;
  for (const auto& item : items) {
    if (item.kind != vx::UserItemKind::Entry) continue;
    EXPECT_EQ(item.value, entries++) << item.caption;
    EXPECT_NE(folders.count(item.parent), 0u) << item.caption << " is outside every folder";
    const std::string text = vx::DefinitionTextTable[item.value];
    EXPECT_NE(text.find_first_of("<&"), std::string::npos) << item.caption;
  }
  EXPECT_GE(entries, 100);
}

TEST(Html5Library, HoldsTheSnippetsOfEveryArea) {
  std::map<std::string, std::string> texts;
  for (const auto& item : LoadLibrary())
    if (item.kind == vx::UserItemKind::Entry) texts[item.caption] = vx::DefinitionTextTable[item.value];
  const std::map<std::string, std::string> expected = {
      {"文書型宣言　<!DOCTYPE html>", "<!DOCTYPE html>"},
      {"日本語の文書　<html lang=\"ja\">", "<html lang=\"ja\">"},
      {"文字コード UTF-8　<meta charset>", "<meta charset=\"UTF-8\">"},
      {"ビューポート　<meta name=\"viewport\">", "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"},
      {"題名　og:title", "<meta property=\"og:title\" content=\"ページの題名\">"},
      {"見出し1　<h1>", "<h1></h1>"},
      {"主な内容　<main>", "<main></main>"},
      {"ルビ　<ruby> <rt>", "<ruby>漢字<rt>かんじ</rt></ruby>"},
      {"画像　<img>", "<img src=\"\" alt=\"\" width=\"\" height=\"\">"},
      {"折りたたみ　<details> <summary>", "<details><summary></summary></details>"},
      {"略語　<abbr title>", "<abbr title=\"\"></abbr>"},
      {"引用　<blockquote>", "<blockquote><p></p></blockquote>"},
      {"電話番号の自動リンクをしない　<meta name=\"format-detection\">",
       "<meta name=\"format-detection\" content=\"telephone=no\">"},
      {"モジュールのスクリプト　<script type=\"module\">", "<script type=\"module\" src=\"\"></script>"},
      {"パンくずリスト", "<nav aria-label=\"パンくずリスト\"><ol><li><a href=\"/\">ホーム</a></li>"
                         "<li><a href=\"\" aria-current=\"page\"></a></li></ol></nav>"},
      {"列の見出し　<th scope=\"col\">", "<th scope=\"col\"></th>"},
      {"メールアドレス　<input type=\"email\">", "<input type=\"email\" id=\"\" name=\"\" autocomplete=\"email\">"},
      {"円記号　&yen;", "&yen;"},
      {"ページの先頭へ", "<a href=\"#top\">ページの先頭へ</a>"},
  };
  for (const auto& [caption, text] : expected) {
    ASSERT_NE(texts.count(caption), 0u) << caption;
    EXPECT_EQ(texts.at(caption), text) << caption;
  }
}

// The elements of today's HTML standard: a name outside it is a typo or a
// browser's own element.
constexpr const char* CURRENT_ELEMENTS[] = {
    "a",          "abbr",       "address",    "area",       "article",    "aside",      "audio",
    "b",          "base",       "bdi",        "bdo",        "blockquote", "body",       "br",
    "button",     "canvas",     "caption",    "cite",       "code",       "col",        "colgroup",
    "data",       "datalist",   "dd",         "del",        "details",    "dfn",        "dialog",
    "div",        "dl",         "dt",         "em",         "embed",      "fieldset",   "figcaption",
    "figure",     "footer",     "form",       "h1",         "h2",         "h3",         "h4",
    "h5",         "h6",         "head",       "header",     "hgroup",     "hr",         "html",
    "i",          "iframe",     "img",        "input",      "ins",        "kbd",        "label",
    "legend",     "li",         "link",       "main",       "map",        "mark",       "menu",
    "meta",       "meter",      "nav",        "noscript",   "object",     "ol",         "optgroup",
    "option",     "output",     "p",          "picture",    "pre",        "progress",   "q",
    "rp",         "rt",         "ruby",       "s",          "samp",       "script",     "search",
    "section",    "select",     "slot",       "small",      "source",     "span",       "strong",
    "style",      "sub",        "summary",    "sup",        "table",      "tbody",      "td",
    "template",   "textarea",   "tfoot",      "th",         "thead",      "time",       "title",
    "tr",         "track",      "u",          "ul",         "var",        "video",      "wbr",
};
// The HTML standard's obsolete features: elements, and attributes on the
// elements named ("*": on any element), that no conforming page uses.
constexpr const char* OBSOLETE_ELEMENTS[] = {
    "acronym",   "applet",    "basefont",  "bgsound",   "big",       "blink",     "center",    "dir",
    "font",      "frame",     "frameset",  "image",     "isindex",   "keygen",    "listing",   "marquee",
    "menuitem",  "multicol",  "nextid",    "nobr",      "noembed",   "noframes",  "param",     "plaintext",
    "rb",        "rtc",       "spacer",    "strike",    "tt",        "xmp",
};
constexpr std::pair<const char*, const char*> OBSOLETE_ATTRIBUTES[] = {
    {"*",      "align"},             {"*",      "bgcolor"},           {"*",      "valign"},
    {"*",      "char"},              {"*",      "charoff"},           {"*",      "datasrc"},
    {"*",      "datafld"},           {"*",      "dataformatas"},      {"*",      "contextmenu"},
    {"*",      "hspace"},            {"*",      "vspace"},            {"a",      "charset"},
    {"a",      "coords"},            {"a",      "shape"},             {"a",      "methods"},
    {"a",      "name"},              {"a",      "rev"},               {"a",      "urn"},
    {"link",   "charset"},           {"link",   "methods"},           {"link",   "rev"},
    {"link",   "urn"},               {"link",   "target"},            {"area",   "nohref"},
    {"area",   "type"},              {"area",   "hreflang"},          {"body",   "alink"},
    {"body",   "link"},              {"body",   "text"},              {"body",   "vlink"},
    {"body",   "background"},        {"body",   "marginheight"},      {"body",   "marginwidth"},
    {"body",   "topmargin"},         {"body",   "leftmargin"},        {"br",     "clear"},
    {"dl",     "compact"},           {"ol",     "compact"},           {"ul",     "compact"},
    {"ul",     "type"},              {"li",     "type"},              {"form",   "accept"},
    {"head",   "profile"},           {"html",   "manifest"},          {"html",   "version"},
    {"hr",     "noshade"},           {"hr",     "size"},              {"hr",     "width"},
    {"iframe", "frameborder"},       {"iframe", "scrolling"},         {"iframe", "marginheight"},
    {"iframe", "marginwidth"},       {"iframe", "longdesc"},          {"iframe", "allowtransparency"},
    {"img",    "longdesc"},          {"img",    "lowsrc"},            {"img",    "name"},
    {"img",    "border"},            {"input",  "ismap"},             {"input",  "usemap"},
    {"meta",   "scheme"},            {"option", "name"},              {"embed",  "name"},
    {"object", "archive"},           {"object", "classid"},           {"object", "code"},
    {"object", "codebase"},          {"object", "codetype"},          {"object", "declare"},
    {"object", "standby"},           {"object", "border"},            {"pre",    "width"},
    {"script", "language"},          {"script", "event"},             {"script", "for"},
    {"script", "charset"},           {"table",  "border"},            {"table",  "cellpadding"},
    {"table",  "cellspacing"},       {"table",  "frame"},             {"table",  "rules"},
    {"table",  "summary"},           {"table",  "width"},             {"table",  "height"},
    {"table",  "datapagesize"},      {"col",    "width"},             {"td",     "width"},
    {"td",     "height"},            {"td",     "nowrap"},            {"td",     "abbr"},
    {"td",     "axis"},              {"td",     "scope"},             {"th",     "width"},
    {"th",     "height"},            {"th",     "nowrap"},            {"th",     "axis"},
};

struct StartTag {
  std::string name;
  std::vector<std::string> attributes;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The start tags of a snippet with their attribute names. Code page 932 trail
// bytes never take the values of < > = or quotes, so bytes are scanned as they are.
std::vector<StartTag> StartTags(const std::string& text) {
  std::vector<StartTag> tags;
  auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':'; };
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    std::size_t i = at + 1;
    if (i >= text.size() || !std::isalpha(static_cast<unsigned char>(text[i]))) continue;
    StartTag tag;
    while (i < text.size() && isName(text[i])) tag.name += text[i++];
    while (i < text.size() && text[i] != '>') {
      if (std::isspace(static_cast<unsigned char>(text[i]))) { ++i; continue; }
      std::string attribute;
      while (i < text.size() && text[i] != '=' && text[i] != '>' && !std::isspace(static_cast<unsigned char>(text[i])))
        attribute += text[i++];
      if (i < text.size() && text[i] == '=') {
        const char quote = text[++i];
        const std::size_t end = quote == '"' || quote == '\'' ? text.find(quote, i + 1) : text.find_first_of(" >", i);
        i = end == std::string::npos ? text.size() : end + (text[end] == quote ? 1 : 0);
      }
      if (!attribute.empty()) tag.attributes.push_back(Lower(attribute));
    }
    tag.name = Lower(tag.name);
    tags.push_back(tag);
  }
  return tags;
}

TEST(Html5Library, UsesCurrentElementsAndNoObsoleteAttribute) {
  const std::set<std::string> currentElements(std::begin(CURRENT_ELEMENTS), std::end(CURRENT_ELEMENTS));
  const std::set<std::string> obsoleteElements(std::begin(OBSOLETE_ELEMENTS), std::end(OBSOLETE_ELEMENTS));
  std::set<std::pair<std::string, std::string>> obsoleteAttributes;
  for (const auto& [element, attribute] : OBSOLETE_ATTRIBUTES) obsoleteAttributes.emplace(element, attribute);
  int tags = 0;
  for (const auto& item : LoadLibrary()) {
    if (item.kind != vx::UserItemKind::Entry) continue;
    for (const StartTag& tag : StartTags(vx::DefinitionTextTable[item.value])) {
      ++tags;
      EXPECT_EQ(obsoleteElements.count(tag.name), 0u) << item.caption << ": obsolete <" << tag.name << ">";
      EXPECT_TRUE(obsoleteElements.count(tag.name) || currentElements.count(tag.name))
          << item.caption << ": unknown <" << tag.name << ">";
      for (const std::string& attribute : tag.attributes)
        EXPECT_TRUE(obsoleteAttributes.count({tag.name, attribute}) == 0 && obsoleteAttributes.count({"*", attribute}) == 0)
            << item.caption << ": <" << tag.name << " " << attribute << ">";
    }
  }
  EXPECT_GE(tags, 100);
}

// The scan above must see what a page author writes, or the check passes vacuously.
TEST(Html5Library, ObsoleteCheckReadsTagsAndAttributes) {
  const auto tags = StartTags("<CENTER><a NAME=\"x\" href='#'>表</a><table border=1 class=\"a b\"><br>");
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_EQ(tags[0].name, "center");
  EXPECT_EQ(tags[1].attributes, (std::vector<std::string>{"name", "href"}));
  EXPECT_EQ(tags[2].attributes, (std::vector<std::string>{"border", "class"}));
  EXPECT_EQ(tags[3].name, "br");
}

}  // namespace
