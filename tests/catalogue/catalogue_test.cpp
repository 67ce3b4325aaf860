// The catalogue against catalogue.expected, transcribed from the catalogue's
// published tables: tree order, group runs and every label's bytes.
#include <iconv.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "tests/catalogue/fixture_file.h"

namespace {

using vx::test_support::ReadFixtureRecords;

std::string Utf8ToCp932(const std::string& utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
  std::string input = utf8;
  std::string output(input.size() * 2 + 1, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  EXPECT_NE(result, static_cast<std::size_t>(-1)) << "not convertible: " << utf8;
  output.resize(output.size() - outLeft);
  return output;
}

std::string Label(std::int32_t tagId) { return vx::CatalogueEntry(tagId)->label; }

// The tree order the tables imply: categories by index, their primary
// entries by range, each group followed by the next run of secondary entries.
std::vector<std::vector<std::string>> TreeOrderFromTables() {
  std::vector<std::vector<std::string>> rows;
  std::int32_t nextSecondary = vx::PRIMARY_ENTRY_COUNT;
  for (int k = 0; k < vx::CATEGORY_COUNT; ++k) {
    rows.push_back({"0", "category", std::to_string(k)});
    for (std::int32_t n = vx::CATEGORY_RANGES[k].first; n <= vx::CATEGORY_RANGES[k].last; ++n) {
      rows.push_back({"1", vx::IsGroupEntry(n) ? "group" : "entry", std::to_string(n)});
      for (std::int32_t i = 0; i < vx::GROUP_CHILD_COUNTS[n]; ++i)
        rows.push_back({"2", "entry", std::to_string(nextSecondary++)});
    }
  }
  return rows;
}

TEST(Catalogue, HierarchyMatchesThePublishedTreeOrder) {
  std::vector<std::vector<std::string>> expected;
  for (const auto& record : ReadFixtureRecords("tests/catalogue/catalogue.expected"))
    expected.push_back({record.at(0), record.at(1), record.at(2)});
  ASSERT_EQ(expected.size(), 11u + 74u + 103u);
  EXPECT_EQ(TreeOrderFromTables(), expected);
}

TEST(Catalogue, EntryLookupCoversExactlyTheTagIds) {
  EXPECT_EQ(vx::CatalogueEntry(0), &vx::PrimaryEntries[0]);
  EXPECT_EQ(vx::CatalogueEntry(73), &vx::PrimaryEntries[73]);
  EXPECT_EQ(vx::CatalogueEntry(74), &vx::SecondaryEntries[0]);
  EXPECT_EQ(vx::CatalogueEntry(176), &vx::SecondaryEntries[102]);
  EXPECT_EQ(vx::CatalogueEntry(-1), nullptr);
  EXPECT_EQ(vx::CatalogueEntry(177), nullptr);
  EXPECT_FALSE(vx::IsGroupEntry(74));  // secondary entries are never groups
  EXPECT_FALSE(vx::IsGroupEntry(-1));
  EXPECT_FALSE(vx::IsGroupEntry(177));
}

TEST(Catalogue, EveryLabelAndCaptionHasItsCodePage932Bytes) {
  for (const auto& record : ReadFixtureRecords("tests/catalogue/catalogue.expected")) {
    const int number = std::stoi(record.at(2));
    const std::string expected = Utf8ToCp932(record.at(3));
    if (record.at(1) == "category") {
      EXPECT_EQ(std::string(vx::CATEGORY_CAPTIONS[number]), expected) << "category " << number;
      continue;
    }
    const char* label = vx::CatalogueEntry(number)->label;
    const std::size_t length = strnlen(label, vx::LABEL_SIZE);
    ASSERT_LT(length, static_cast<std::size_t>(vx::LABEL_SIZE)) << "tag " << number;
    EXPECT_EQ(std::string(label, length), expected) << "tag " << number;
  }
}

// Byte forms written out, independent of any converter.
TEST(Catalogue, LabelsUseFullWidthSpaceHalfWidthKanaAndFullWidthDigits) {
  EXPECT_EQ(Label(1), "\xC0\xB2\xC4\xD9\x81\x40<TITLE>");      // ﾀｲﾄﾙ　
  EXPECT_EQ(Label(5).substr(4, 1), "\xA5");                      // half-width middle dot
  for (int n = 0; n < 6; ++n) {
    const std::string label = Label(82 + n);
    const std::string digit = {'\x82', static_cast<char>(0x50 + n)};
    ASSERT_GE(label.size(), 2u + 2u + 5u);
    EXPECT_EQ(label.substr(label.size() - 8, 2), digit) << "tag " << 82 + n;
    EXPECT_EQ(label.substr(label.size() - 6, 2), "\x81\x40") << "tag " << 82 + n;
  }
  EXPECT_EQ(Label(12).find("\x81\x40"), std::string::npos);
  EXPECT_EQ(Label(38).find("\x81\x40"), std::string::npos);
  EXPECT_NE(Label(38).find("\xBB\xB2\xBD\xDE \" WIDTH=\"\" HEIGHT=\"\">"), std::string::npos);
  // A 0x5C trail byte must survive: 表 is 95 5C.
  EXPECT_EQ(std::string(vx::CATEGORY_CAPTIONS[6]), "\x95\x5C\x91\x67");
}

}  // namespace
