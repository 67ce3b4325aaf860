// The shipped HTML5 library as the build converted it: the folders a web
// author looks for, nested as the file means them, each entry's text whole,
// and the snippets of today's HTML that the library promises.
// Texts of this file are code page 932 in the binary (vx_cp932_sources).
#include <gtest/gtest.h>

#include <map>
#include <string>
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
      {"画像　<img>", "<img src=\"\" alt=\"\" width=\"\" height=\"\" loading=\"lazy\">"},
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

}  // namespace
