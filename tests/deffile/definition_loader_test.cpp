// The loader against a recording sink: each case is the body of a file after
// its header, and the items that body must produce, one path per item.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "deffile/definition_loader.h"
#include "deffile/definition_text_table.h"
#include "tests/deffile/recording_sink.h"

namespace vx::test_support {
namespace {

using Paths = std::vector<std::string>;

struct Case {
  const char* name;
  std::string body;
  Paths expected;
};

// Every case must come out the same however the source splits its bytes.
void ExpectLoads(const Case& c) {
  for (std::size_t chunk : {static_cast<std::size_t>(-1), std::size_t{1}, std::size_t{3}}) {
    EXPECT_EQ(LoadPaths(Header() + c.body, chunk), c.expected) << c.name << ", chunk " << chunk;
  }
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(DefinitionHeader, IsTheCodePage932Text) {
  EXPECT_STREQ(DEFINITION_HEADER, "\x5B\x56\x58\x2D\x48\x54\x4D\x4C\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B\x5D");
}

TEST(DefinitionHeader, OnlyTheExactLineWithItsLineEndOpensTheFile) {
  const std::string header = DEFINITION_HEADER;
  const std::string body = "A\n<a>\n";
  const Paths loaded = {"A #0 = <a>"};
  struct Variant {
    const char* name;
    std::string file;
    bool loads;
  };
  const Variant variants[] = {
      {"LF", header + "\n" + body, true},
      {"CR LF", header + "\r\n" + body, true},
      {"CR inside", "[VX-\rHTML" + header.substr(8) + "\n" + body, true},
      {"trailing blank", header + " \n" + body, false},
      {"byte-order mark", "\xEF\xBB\xBF" + header + "\n" + body, false},
      {"other case", "[vx-html" + header.substr(8) + "\n" + body, false},
      {"text after it", header + body, false},
      {"empty line first", "\n" + header + "\n" + body, false},
      {"0x1A before its LF", header + "\x1A\n" + body, false},
      {"no line end", header, false},
      {"empty file", "", false},
  };
  for (const Variant& v : variants) {
    EXPECT_EQ(LoadPaths(v.file), v.loads ? loaded : Paths{}) << v.name;
  }
  EXPECT_EQ(LoadPaths(Header()), Paths{});
}

TEST(DefinitionPlacement, FoldersGoUnderTheLastFolderOneLevelUp) {
  const Case cases[] = {
      {"a shallower line keeps deeper levels", ".F1\n..F2\n.F3\n...F4\nE\n<e>\n",
       {"F1/", "F1/F2/", "F3/", "F1/F2/F4/", "F1/F2/F4/E #0 = <e>"}},
      {"no folder one level up: top level", "...Deep\nE\n<e>\n..Mid\n", {"Deep/", "Deep/E #0 = <e>", "Mid/"}},
      {"entries before any folder", "A\n<a>\n.F\nB\n<b>\n", {"A #0 = <a>", "F/", "F/B #1 = <b>"}},
      {"entries follow the last folder line", ".F1\n..F2\nA\n<a>\n.F3\nB\n<b>\n",
       {"F1/", "F1/F2/", "F1/F2/A #0 = <a>", "F3/", "F3/B #1 = <b>"}},
      {"past 100 dots the rest is caption", Repeat('.', 99) + "x\n" + Repeat('.', 101) + "a\n", {"x/", "x/.a/"}},
  };
  for (const Case& c : cases) ExpectLoads(c);
}

TEST(DefinitionPlacement, DotsAloneMakeFoldersWithEmptyCaptions) {
  const std::string file = Header() + ".\n...\n....\nE\n<e>\n";
  MemoryByteSource bytes(file.data(), file.size());
  RecordingSink sink;
  LoadDefinitionStream(bytes, sink);
  ASSERT_EQ(sink.items.size(), 4u);
  EXPECT_EQ(sink.items[0].caption, "");
  EXPECT_EQ(sink.items[0].parent, 0u);
  EXPECT_EQ(sink.items[1].caption, "");
  EXPECT_EQ(sink.items[1].parent, 0u);  // level 2 with nothing at level 1
  EXPECT_EQ(sink.items[2].parent, sink.items[1].handle) << "four dots: level 3, under the level-2 folder";
  EXPECT_EQ(sink.items[3].parent, sink.items[2].handle);
  EXPECT_EQ(sink.items[3].kind, UserItemKind::Entry);
}

// A source that reports nothing once (a failed read) and would then go on:
// the load ends at the failure and keeps what came before it.
class FailingOnceSource final : public ByteSource {
 public:
  FailingOnceSource(std::string before, std::string after)
      : before_(std::move(before)), after_(std::move(after)) {}
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override {
    std::string& part = reads_ == 0 ? before_ : after_;
    if (reads_++ == 1) return 0;
    const std::size_t n = part.size() < capacity ? part.size() : capacity;
    std::memcpy(buffer, part.data(), n);
    part.erase(0, n);
    return n;
  }

 private:
  std::string before_, after_;
  int reads_ = 0;
};

TEST(DefinitionLines, AReadErrorEndsTheFileAndKeepsWhatWasRead) {
  FailingOnceSource source(Header() + ".F\nA\n<a>\nB", "\n<b>\nC\n<c>\n");
  RecordingSink sink;
  LoadDefinitionStream(source, sink);
  EXPECT_EQ(sink.Paths(), (Paths{"F/", "F/A #0 = <a>", "F/B #1 = "}));
}

TEST(DefinitionPlacement, RefusedFolderSendsWhatWouldGoInsideToTheTopLevel) {
  const std::string file = Header() + ".F1\n..F2\nA\n<a>\n...F3\n..F4\nB\n<b>\n";
  MemoryByteSource source(file.data(), file.size());
  RecordingSink sink({1});  // F2
  LoadDefinitionStream(source, sink);
  EXPECT_EQ(sink.Paths(), (Paths{"F1/", "F1/F2/", "A #0 = <a>", "F3/", "F1/F4/", "F1/F4/B #1 = <b>"}));
}

TEST(DefinitionPlacement, RefusedEntryStillTakesItsIndex) {
  const std::string file = Header() + "A\n<a>\nB\n<b>\n";
  MemoryByteSource source(file.data(), file.size());
  RecordingSink sink({0});
  LoadDefinitionStream(source, sink);
  ASSERT_EQ(sink.items.size(), 2u);
  EXPECT_EQ(sink.items[1].value, 1);
  EXPECT_STREQ(DefinitionTextTable[1], "<b>");
}

TEST(DefinitionLines, TheLineAfterALabelIsItsTextWhateverItHolds) {
  const Case cases[] = {
      {"empty lines elsewhere are ignored", "\n\nA\n<a>\n\n\n", {"A #0 = <a>"}},
      {"empty text", "A\n\nB\n<b>\n", {"A #0 = ", "B #1 = <b>"}},
      {"text that starts with a dot", "A\n.x\n", {"A #0 = .x"}},
      {"two labels in a row", "A\nB\n<b>\n<c>\n", {"A #0 = B", "<b> #1 = <c>"}},
      {"CR vanishes anywhere", "A\rB\r\n<a>\r\r\n", {"AB #0 = <a>"}},
      {"NUL ends a caption", std::string("A\0B\n<a>\n", 8), {"A #0 = <a>"}},
      {"NUL first: an empty line", std::string("\0X\nA\n<a>\n", 9), {"A #0 = <a>"}},
      {"0x1A ends the file", "A\n<a>\n\x1A" "B\n<b>\n", {"A #0 = <a>"}},
      {"0x1A ends the file before a folder", "A\n<a>\n\x1A.F\n..G\n", {"A #0 = <a>"}},
      {"0x1A inside a text", "A\n<a\x1A>\nB\n<b>\n", {"A #0 = <a"}},
      {"last label without its line end", "A\n<a>", {"A #0 = <a>"}},
  };
  for (const Case& c : cases) ExpectLoads(c);
}

TEST(DefinitionLines, CrLfLoadsLikeLf) {
  const std::string lf = ".F1\n..F2\nA\n<a>\n\n.F3\nB\n\nC\n.c\n";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(LoadPaths(Header() + crlf), LoadPaths(Header() + lf));
  EXPECT_EQ(LoadPaths(Header() + lf).size(), 6u);
}

TEST(DefinitionLines, ReadsCutLongLinesAt255Bytes) {
  const std::string after = "Z\n<z>\n";
  const Case cases[] = {
      {"label of 254", Repeat('L', 254) + "\n<t>\n" + after, {Repeat('L', 254) + " #0 = <t>", "Z #1 = <z>"}},
      {"label of 255: its LF is its text", Repeat('L', 255) + "\n<t>\n" + after,
       {Repeat('L', 255) + " #0 = ", "<t> #1 = Z", "<z> #2 = "}},
      {"label of 256", Repeat('L', 256) + "\n<t>\n" + after,
       {Repeat('L', 255) + " #0 = L", "<t> #1 = Z", "<z> #2 = "}},
      {"label of 300", Repeat('L', 300) + "\n<t>\n" + after,
       {Repeat('L', 255) + " #0 = " + Repeat('L', 45), "<t> #1 = Z", "<z> #2 = "}},
      {"text of 254", "A\n" + Repeat('t', 254) + "\n" + after, {"A #0 = " + Repeat('t', 254), "Z #1 = <z>"}},
      {"text of 255", "A\n" + Repeat('t', 255) + "\n" + after, {"A #0 = " + Repeat('t', 255), "Z #1 = <z>"}},
      {"text of 256", "A\n" + Repeat('t', 256) + "\n" + after,
       {"A #0 = " + Repeat('t', 255), "t #1 = Z", "<z> #2 = "}},
      {"text of 300", "A\n" + Repeat('t', 300) + "\n" + after,
       {"A #0 = " + Repeat('t', 255), Repeat('t', 45) + " #1 = Z", "<z> #2 = "}},
  };
  for (const Case& c : cases) ExpectLoads(c);
}

TEST(DefinitionLimits, StopsAtTheThreeThousandthEntry) {
  std::string body;
  for (int i = 0; i < 3001; ++i) {
    if (i % 500 == 0) body += ".F" + std::to_string(i) + "\n";
    body += "E" + std::to_string(i) + "\n<" + std::to_string(i) + ">\n";
  }
  body += ".Late\n";
  const Paths paths = LoadPaths(Header() + body);
  ASSERT_EQ(paths.size(), 3000u + 6u);
  EXPECT_EQ(paths.back(), "F2500/E2999 #2999 = <2999>");
}

// Folder lines are bounded like entries: a file of dots alone cannot flood the tree.
TEST(DefinitionLimits, StopsAtTheThreeThousandthFolder) {
  std::string body = "E0\n<0>\n";
  for (int i = 0; i < 3001; ++i) body += (i % 2 == 0 ? ".F" : "..G") + std::to_string(i) + "\n";
  body += "Late\n<late>\n";
  for (std::size_t chunk : {static_cast<std::size_t>(-1), std::size_t{3}}) {
    const Paths paths = LoadPaths(Header() + body, chunk);
    ASSERT_EQ(paths.size(), 1u + 3000u) << chunk;
    EXPECT_EQ(paths.back(), "F2998/G2999/") << chunk;
  }
}

// Endless "E / <e>" pairs: the loader must stop on its own.
class EndlessSource : public ByteSource {
 public:
  std::size_t Read(unsigned char* buffer, std::size_t capacity) override {
    for (std::size_t i = 0; i < capacity; ++i, ++position_) {
      buffer[i] = position_ < header_.size() ? header_[position_] : "E\n<e>\n"[(position_ - header_.size()) % 6];
    }
    return capacity;
  }
  std::size_t Position() const { return position_; }

 private:
  std::size_t position_ = 0;
  std::string header_ = Header();
};

TEST(DefinitionLimits, EndlessFileStopsAfterTheLastEntry) {
  EndlessSource source;
  RecordingSink sink;
  LoadDefinitionStream(source, sink);
  EXPECT_EQ(sink.items.size(), 3000u);
  EXPECT_LT(source.Position(), 100000u);
}

TEST(DefinitionLimits, AnyBytesStayWithinTheBuffers) {
  std::string garbage;
  std::uint32_t state = 12345;
  for (int i = 0; i < 300000; ++i) {
    state = state * 1103515245u + 12345u;
    const unsigned char b = static_cast<unsigned char>(state >> 16);
    garbage += static_cast<char>(b % 7 == 0 ? '\n' : b % 11 == 0 ? '.' : b);
  }
  const std::string inputs[] = {
      Repeat('M', 1 << 20) + "\n<t>\n",
      Repeat('.', 10000) + "\nE\n<e>\n",
      std::string(5000, '\0') + "\n\n",
      garbage,
  };
  for (const std::string& body : inputs) {
    const std::string file = Header() + body;
    MemoryByteSource source(file.data(), file.size(), 7);
    RecordingSink sink;
    LoadDefinitionStream(source, sink);
    std::int32_t next = 0;
    for (const RecordedItem& item : sink.items) {
      EXPECT_LE(item.caption.size(), 255u);
      if (item.kind == UserItemKind::Entry) {
        EXPECT_EQ(item.value, next++);
      }
    }
    for (const char* slot : DefinitionTextTable) ASSERT_EQ(slot[DEFINITION_TEXT_SIZE - 1], '\0');
  }
}

// A reload must not show texts that a longer file left in the table.
TEST(DefinitionReload, ShrunkenFileKeepsNoStaleTextForItsEntries) {
  ASSERT_EQ(LoadPaths(Header() + "A\n<a>\nB\n<b>\nC\n<c>\nD\n<d>\n"),
            (Paths{"A #0 = <a>", "B #1 = <b>", "C #2 = <c>", "D #3 = <d>"}));
  EXPECT_EQ(LoadPaths(Header() + "X\n<x>\nY\n"), (Paths{"X #0 = <x>", "Y #1 = "}));
  EXPECT_EQ(LoadPaths(Header() + "X\n<x>\nY\n<y>\nZ\x1A<late>\n"), (Paths{"X #0 = <x>", "Y #1 = <y>", "Z #2 = "}));
  EXPECT_STREQ(DefinitionTextTable[3], "<d>");  // no item refers to it
}

TEST(DefinitionFile, MissingOrEmptyPathAddsNothing) {
  RecordingSink sink;
  LoadDefinitionFile(nullptr, sink);
  LoadDefinitionFile("", sink);
  LoadDefinitionFile("no such definition file.txt", sink);
  EXPECT_TRUE(sink.items.empty());
}

}  // namespace
}  // namespace vx::test_support
