// Definition files between UTF-8 and code page 932: each refusal at its line
// and column, in the checker's words where both judge a code, and the round
// trip as the loader sees it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "deffile/definition_check.h"
#include "deffile/definition_convert.h"
#include "deffile/definition_format.h"
#include "tests/deffile/recording_sink.h"

namespace {

using vx::Conversion;

const std::string UTF8_HEADER = vx::DEFINITION_HEADER_UTF8;
const std::string CP932_HEADER = vx::DEFINITION_HEADER;

// "LINE:COLUMN" of every finding, in order.
std::vector<std::string> Places(const Conversion& conversion) {
  std::vector<std::string> places;
  for (const auto& finding : conversion.findings)
    places.push_back(std::to_string(finding.line) + ":" + std::to_string(finding.column));
  return places;
}

// Codes without a character, and how check and convert --to-utf8 word them:
// the same table, the same words, at the same place.
TEST(Cp932Codec, CheckAndConvertRefuseTheSameCodesInTheSameWords) {
  struct Code {
    const char* bytes;
    const char* words;  // "" when the pair is a character
  };
  static constexpr Code CODES[] = {
      {"\x85\x40", "0x85 0x40 is not a code page 932 character"},
      {"\x86\x9F", "0x86 0x9F is not a code page 932 character"},
      {"\xEB\x40", "0xEB 0x40 is not a code page 932 character"},
      {"\xEF\xFC", "0xEF 0xFC is not a code page 932 character"},
      {"\x81\xAD", "0x81 0xAD is not a code page 932 character"},
      {"\x88\x40", "0x88 0x40 is not a code page 932 character"},
      {"\xFC\x4C", "0xFC 0x4C is not a code page 932 character"},
      {"\x81\x7F", "0x81 is not a code page 932 character"},
      {"\x80", "0x80 is not a code page 932 character"},
      {"\xA0", "0xA0 is not a code page 932 character"},
      {"\xFF", "0xFF is not a code page 932 character"},
      {"\x95\x5C", ""},
      {"\x87\x40", ""},
      {"\xF9\xFC", ""},
      {"\xFC\x4B", ""},
  };
  for (const Code& code : CODES) {
    const std::string line = std::string("<p>") + code.bytes + "</p>";
    const Conversion converted = vx::ConvertDefinitionToUtf8(CP932_HEADER + "\r\nlabel\r\n" + line + "\r\n");
    const std::string file = CP932_HEADER + "\nlabel\n" + line + "\n";
    vx::MemoryByteSource source(file.data(), file.size());
    struct Words : vx::CheckReport {
      void Finding(std::uint64_t line, vx::CheckFinding, const char* message) override {
        said += std::to_string(line) + ": " + message;
      }
      std::string said;
    } checked;
    vx::CheckDefinitionStream(source, checked);
    if (code.words[0] == '\0') {
      EXPECT_EQ(Places(converted), std::vector<std::string>{}) << code.bytes;
      EXPECT_EQ(checked.said, "") << code.bytes;
      continue;
    }
    ASSERT_EQ(Places(converted), std::vector<std::string>{"3:4"}) << code.words;
    EXPECT_EQ(converted.findings[0].message, code.words);
    EXPECT_EQ(checked.said, std::string("3: byte 4: ") + code.words);
  }
}

TEST(ConvertToCp932, WritesTheHeaderAndEveryLineWithCrLfWhateverTheInputLineEnds) {
  const std::string body = ".表\n..ｻﾌﾞ\n段落\n<p>～\\</p>\n\n空\n";
  const std::string expected = CP932_HEADER + "\r\n.\x95\x5C\r\n..\xBB\xCC\xDE\r\n\x92\x69\x97\x8E\r\n<p>\x81\x60\\</p>\r\n\r\n\x8B\xF3\r\n";
  for (const std::string& input :
       std::vector<std::string>{UTF8_HEADER + "\n" + body, "\xEF\xBB\xBF" + UTF8_HEADER + "\r\n" + body,
        UTF8_HEADER + "\r\n" + body.substr(0, body.size() - 1)}) {
    const Conversion conversion = vx::ConvertDefinitionToCp932(input);
    EXPECT_TRUE(conversion.findings.empty()) << input;
    EXPECT_EQ(conversion.output, expected) << input;
  }
}

TEST(ConvertToCp932, RefusesEveryPlaceThatWouldNotLoadAsWritten) {
  const std::string fill253(253, 'x');
  const std::string input = UTF8_HEADER + "\n" +
                            "円 ¥ 〜\n" +                                 // 2: two look-alikes in a label
                            "<p>\xC0\xAF\xED\xA0\x80 x \xE3\x81</p>\n" +  // 3: five broken sequences, then a cut one
                            "a\rb\n" + std::string("c\0d", 3) + "\n\x1A\n" +  // 4, 5, 6
                            "あ" + fill253 + "\n" +                       // 7: a text of 255 bytes is whole...
                            "い" + fill253 + "z\n" +  // 8: ...a label of 256 is cut at its last character, its text
                            fill253 + "ab\n<b>\n";   // 9: so this is a label, of 255 bytes
  const Conversion conversion = vx::ConvertDefinitionToCp932(input);
  EXPECT_EQ(Places(conversion), (std::vector<std::string>{"2:3", "2:5", "3:4", "3:12", "4:2", "5:2", "6:1", "8:255",
                                                          "9:256"}));
  ASSERT_EQ(conversion.findings.size(), 9u);
  EXPECT_EQ(conversion.findings[0].message,
            "U+00A5 (\xC2\xA5) has no code in code page 932; write \xEF\xBF\xA5 (U+FFE5) or &yen; instead");
  EXPECT_EQ(conversion.findings[2].message, "bytes 0xC0 0xAF 0xED 0xA0 ... are not valid UTF-8");
  EXPECT_EQ(conversion.findings[3].message, "bytes 0xE3 0x81 are not valid UTF-8");
  EXPECT_EQ(conversion.findings[7].message,
            "the line is 256 bytes in code page 932; the loader reads 255 bytes at a time and would cut it before "
            "this character");
}

// 16 MB of broken bytes once took gigabytes; now the findings kept are the
// first by place whatever their number, and the rest are counted.
TEST(ConvertToCp932, KeepsTheFirstFindingsByPlaceAndCountsTheRest) {
  std::string input = UTF8_HEADER + "\n";
  for (int i = 0; i < 3000; ++i) input += "a\xFF\xC0" "b\xFF" "c\n";  // two runs a line
  input += "\xFF\n";
  const Conversion conversion = vx::ConvertDefinitionToCp932(input);
  EXPECT_EQ(conversion.findingCount, 6001u);
  ASSERT_EQ(conversion.findings.size(), vx::KEPT_FINDINGS);
  EXPECT_EQ(Places(conversion)[0], "2:2");
  EXPECT_EQ(Places(conversion)[1], "2:5");
  EXPECT_EQ(Places(conversion).back(), "501:5");
}

TEST(ConvertToCp932, RefusesAFileWithoutTheHeaderOrAlreadyConverted) {
  for (const std::string& input : {std::string(), UTF8_HEADER + " \nA\n<a>\n", std::string("A\n<a>\n"), std::string("\xFF\xFE[\0V\0", 6)}) {
    const Conversion conversion = vx::ConvertDefinitionToCp932(input);
    ASSERT_FALSE(conversion.findings.empty());
    EXPECT_EQ(Places(conversion)[0], "1:1");
    EXPECT_EQ(conversion.findings[0].message.rfind("the first line must be the header", 0), 0u);
  }
  const Conversion again = vx::ConvertDefinitionToCp932(CP932_HEADER + "\r\n.\x95\x5C\r\n");
  EXPECT_EQ(Places(again), (std::vector<std::string>{"1:1"}));
  EXPECT_EQ(again.findings[0].message, "the file is already in code page 932; there is nothing to convert");
}

TEST(ConvertToCp932, LinesAfterTheLastEntryOrFolderTheLoaderTakesAreRefusedOnce) {
  std::string input = UTF8_HEADER + "\n";
  for (int i = 0; i < vx::MAX_DEFINITION_TEXTS; ++i) input += "L\n<t>\n";
  input += "\n.late\nmore\n<x>\n";
  EXPECT_EQ(Places(vx::ConvertDefinitionToCp932(input)),
            (std::vector<std::string>{std::to_string(2 + 2 * vx::MAX_DEFINITION_TEXTS + 1) + ":1"}));

  std::string folders = UTF8_HEADER + "\n";
  for (int i = 0; i < vx::MAX_DEFINITION_FOLDERS; ++i) folders += ".F\n";
  folders += "late\n<x>\n";
  EXPECT_EQ(Places(vx::ConvertDefinitionToCp932(folders)),
            (std::vector<std::string>{std::to_string(2 + vx::MAX_DEFINITION_FOLDERS) + ":1"}));
}

TEST(ConvertToUtf8, RefusesInvalidSequencesAndSecondCodesAtTheirColumns) {
  const std::string input = CP932_HEADER + "\r\n\x95\x5C\x81\x20\x80\xA0\xFD\r\n\xED\x40\xFA\x4A\x87\x90\xFA\x5C\x81";
  const Conversion conversion = vx::ConvertDefinitionToUtf8(input);
  // 0x20 cannot end a double-byte character: the lead byte fails alone.
  EXPECT_EQ(Places(conversion), (std::vector<std::string>{"2:2", "2:4", "2:5", "2:6", "3:1", "3:2", "3:3", "3:5"}));
  ASSERT_EQ(conversion.findings.size(), 8u);
  EXPECT_EQ(conversion.findings[0].message, "0x81 is not a code page 932 character");
  EXPECT_EQ(conversion.findings[4].message,
            "0xED 0x40 is a second code of U+7E8A (\xE7\xBA\x8A); converting back would write 0xFA 0x5C, so retype "
            "the character to get that code");
  EXPECT_EQ(conversion.findings[7].message, "0x81 starts a double-byte character that the line ends in");

  const Conversion utf8 = vx::ConvertDefinitionToUtf8("\xEF\xBB\xBF" + UTF8_HEADER + "\n");
  EXPECT_EQ(Places(utf8), (std::vector<std::string>{"1:1"}));
}

std::vector<std::string> Loaded(const std::string& bytes) {
  vx::MemoryByteSource source(bytes.data(), bytes.size());
  vx::test_support::RecordingSink sink;
  vx::LoadDefinitionStream(source, sink);
  return sink.Paths();
}

TEST(ConvertRoundTrip, ToUtf8AndBackLoadsTheSameItemsAndTexts) {
  const std::string original = CP932_HEADER + "\r\n.\x95\x5C\x8E\xA6\r\n...\r\n\x92\x69\x97\x8E\r\n<P>\xB1\\~\x87\x40</P>\r\n"
                               "..\xF0\x40\r\n\x83\x89\x83\x78\x83\x8B\r\n.text\r\n\r\nlast\n";
  const Conversion utf8 = vx::ConvertDefinitionToUtf8(original);
  ASSERT_TRUE(utf8.findings.empty());
  EXPECT_EQ(utf8.output.find('\r'), std::string::npos);
  const Conversion back = vx::ConvertDefinitionToCp932(utf8.output);
  ASSERT_TRUE(back.findings.empty());
  EXPECT_EQ(Loaded(back.output), Loaded(original));
  EXPECT_EQ(Loaded(original).size(), 6u);
}

}  // namespace
