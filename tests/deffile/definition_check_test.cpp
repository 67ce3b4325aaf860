// The checker: each file is written beside the findings it must raise, as
// line number and kind; line 1 is the header.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "deffile/byte_sources.h"
#include "deffile/definition_check.h"
#include "deffile/definition_format.h"
#include "tests/deffile/recording_sink.h"

namespace vx::test_support {
namespace {

using K = CheckFinding;
using Findings = std::vector<std::pair<std::uint64_t, CheckFinding>>;

class CollectingReport : public CheckReport {
 public:
  void Finding(std::uint64_t line, CheckFinding kind, const char* message) override {
    findings.emplace_back(line, kind);
    messages.push_back(std::to_string(line) + ": " + message);
  }
  Findings findings;
  std::vector<std::string> messages;
};

// The checker sees what follows a 0x1A only within the read that found it,
// so files holding one are read whole.
CollectingReport Check(const std::string& file, CheckSummary* summary = nullptr) {
  const bool marked = file.find('\x1A') != std::string::npos;
  MemoryByteSource source(file.data(), file.size(), marked ? static_cast<std::size_t>(-1) : 5);
  CollectingReport report;
  const CheckSummary result = CheckDefinitionStream(source, report);
  if (summary != nullptr) *summary = result;
  EXPECT_EQ(result.findings, report.findings.size());
  return report;
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(DefinitionCheck, ExplainsWhyTheHeaderDoesNotMatch) {
  const std::string header = DEFINITION_HEADER;
  const std::pair<std::string, const char*> cases[] = {
      {"", "the file is empty"},
      {header + "\x1A" "A\n<a>\n", "no line end"},
      {header + " \t\nA\n<a>\n", "blanks follow"},
      {header + "A\n<a>\n", "other text"},
      {"\xEF\xBB\xBF" + header + "\n", "byte-order mark"},
      {"\xFF\xFE[\0V\0", "UTF-16"},
      {"hello\n", "not the header"},
  };
  for (const auto& [file, reason] : cases) {
    CheckSummary summary;
    const CollectingReport report = Check(file, &summary);
    ASSERT_EQ(report.findings, (Findings{{1, K::HeaderMismatch}})) << reason;
    EXPECT_NE(report.messages[0].find(reason), std::string::npos) << report.messages[0];
    EXPECT_FALSE(summary.headerMatches);
  }
  // A UTF-8 header, with or without its mark, is a finding of its own kind:
  // the command that prints it adds how to convert the file.
  const std::string utf8 = DEFINITION_HEADER_UTF8;
  for (const std::string& file : {utf8 + "\n.F\n", "\xEF\xBB\xBF" + utf8 + "\r\nA\r\n<a>\r\n"}) {
    CheckSummary summary;
    const CollectingReport report = Check(file, &summary);
    ASSERT_EQ(report.findings, (Findings{{1, K::Utf8File}})) << file;
    EXPECT_NE(report.messages[0].find("UTF-8"), std::string::npos) << report.messages[0];
    EXPECT_FALSE(summary.headerMatches);
  }
}

TEST(DefinitionCheck, WellFormedFileHasNoFindings) {
  CheckSummary summary;
  const std::string body = ".F\r\n..G\r\nA\r\n<a>\r\n\r\nB\r\n&amp;\r\n";
  EXPECT_EQ(Check(Header() + body, &summary).findings, Findings{});
  EXPECT_EQ(summary.folders, 2u);
  EXPECT_EQ(summary.entries, 2u);
}

TEST(DefinitionCheck, PointsAtSurprisingLines) {
  struct Case {
    const char* name;
    std::string body;  // starts on line 2
    Findings expected;
  };
  const Case cases[] = {
      {"label at the end", "A\n<a>\nB\n", {{4, K::LabelWithoutText}}},
      {"label right before 0x1A", "A\x1A<a>\n", {{2, K::LabelWithoutText}, {2, K::BytesAfterEndMark}}},
      {"empty text", "A\n\n<a>\n<b>\n", {{3, K::EmptyText}}},
      {"text like a folder", "A\n.F\n", {{3, K::TextLooksLikeFolder}}},
      {"two labels in a row", "A\nB\n<b>\n<c>\n", {{3, K::TextLooksLikeLabel}}},
      {"folder above is missing", ".F\n...H\n", {{3, K::FolderAtTopLevel}}},
      {"more than 100 dots", Repeat('.', 101) + "a\n", {{2, K::ExtraDots}, {2, K::FolderAtTopLevel}}},
      {"label longer than 255", Repeat('L', 300) + "\n<t>\n<u>\n", {{2, K::LineSplit}}},
      {"label of exactly 255", Repeat('L', 255) + "\n<t>\n<u>\n", {{2, K::LineSplit}}},
      {"text of exactly 255 is fine", "A\n<" + Repeat('t', 254) + "\n", {}},
      {"text longer than 255", "A\n<" + Repeat('t', 299) + "\n", {{3, K::LineSplit}, {3, K::LabelWithoutText}}},
      {"bytes after 0x1A", "A\n<a>\n\x1A" "B\n<b>\n", {{4, K::BytesAfterEndMark}}},
      {"0x1A at the very end is fine", "A\n<a>\n\x1A", {}},
      {"invalid code page 932", "A\xFF\n<a\x81\n", {{2, K::InvalidCp932}, {3, K::InvalidCp932}}},
      {"codes without a character, each told",
       "A\x85\x40\xEB\x40\n<a\xEF\xFC>\n",
       {{2, K::InvalidCp932}, {2, K::InvalidCp932}, {3, K::InvalidCp932}}},
      {"NUL byte", std::string("A\0B\n<a>\n", 8), {{2, K::NulByte}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Check(Header() + c.body).findings, c.expected) << c.name;
  }
}

TEST(DefinitionCheck, TellsWhenACutSplitsACharacter) {
  // 254 ASCII bytes, then "表" (95 5C) straddles byte 255.
  const CollectingReport report = Check(Header() + Repeat('L', 254) + "\x95\x5C\n<t>\n");
  ASSERT_EQ(report.findings, (Findings{{2, K::LineSplit}, {3, K::LabelWithoutText}}));
  EXPECT_NE(report.messages[0].find("double-byte"), std::string::npos) << report.messages[0];
}

TEST(DefinitionCheck, ReportsTheFirstLineBeyond3000EntriesOnce) {
  std::string body;
  for (int i = 0; i < 3000; ++i) body += "E\n<e>\n";
  CheckSummary summary;
  EXPECT_EQ(Check(Header() + body + "\n\n", &summary).findings, Findings{});
  body += "\n.Late\nX\n<x>\n";
  EXPECT_EQ(Check(Header() + body, &summary).findings, (Findings{{6003, K::EntriesBeyondLimit}}));
  EXPECT_EQ(summary.entries, 3000u);
}

TEST(DefinitionCheck, ReportsTheFirstLineBeyond3000FoldersOnce) {
  std::string body = "E\n<e>\n";
  for (int i = 0; i < 3000; ++i) body += i == 0 ? ".F\n" : "..G\n";
  CheckSummary summary;
  EXPECT_EQ(Check(Header() + body + "\n", &summary).findings, Findings{});
  EXPECT_EQ(summary.folders, 3000u);
  EXPECT_EQ(summary.entries, 1u);
  const CollectingReport late = Check(Header() + body + "\nLate\n<late>\n.H\n", &summary);
  EXPECT_EQ(late.findings, (Findings{{3005, K::FoldersBeyondLimit}}));
  EXPECT_EQ(summary.entries, 1u);
}

// Hands out its bytes, then fails; counts the reads asked of it.
class FailingSource : public ByteSource {
 public:
  FailingSource(std::string bytes, bool fail) : bytes_(std::move(bytes)), fail_(fail) {}
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override {
    ++reads;
    const std::size_t count = std::min(capacity, bytes_.size() - position_);
    std::copy_n(bytes_.data() + position_, count, buffer);
    position_ += count;
    failed_ = count == 0 && fail_;
    return count;
  }
  bool Failed() const override { return failed_; }
  int reads = 0;

 private:
  std::string bytes_;
  std::size_t position_ = 0;
  bool fail_;
  bool failed_ = false;
};

TEST(DefinitionCheck, AReadErrorIsNoFindingAndMarksTheCheckCutShort) {
  CollectingReport nothing;
  FailingSource unreadable("", true);
  CheckSummary summary = CheckDefinitionStream(unreadable, nothing);
  EXPECT_TRUE(summary.readFailed);
  EXPECT_EQ(nothing.findings, Findings{});

  CollectingReport some;
  FailingSource partial(Header() + "..Sub\nA\n.x\n", true);
  summary = CheckDefinitionStream(partial, some);
  EXPECT_TRUE(summary.readFailed);
  EXPECT_EQ(some.findings, (Findings{{2, K::FolderAtTopLevel}, {4, K::TextLooksLikeFolder}}));

  FailingSource whole(Header() + "A\n<a>\n", false);
  EXPECT_FALSE(CheckDefinitionStream(whole, nothing).readFailed);
}

// A pipe or a growing file behind a 0x1A may never end: nothing after the
// read that found the mark is asked for.
TEST(DefinitionCheck, StopsReadingAtTheEndMark) {
  FailingSource source(Header() + "A\n<a>\n\x1A" + std::string(100000, 'x'), false);
  CollectingReport report;
  CheckDefinitionStream(source, report);
  EXPECT_EQ(source.reads, 1);
  EXPECT_EQ(report.findings, (Findings{{4, K::BytesAfterEndMark}}));
}

}  // namespace
}  // namespace vx::test_support
