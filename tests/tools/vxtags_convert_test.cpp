// Definition files between UTF-8 and code page 932: the strict character
// mapping, each refusal at its line and column, the round trip as the loader
// sees it, and the command's exit statuses and file handling.
#include <iconv.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "deffile/cp932_codec.h"
#include "deffile/definition_check.h"
#include "deffile/definition_lines.h"
#include "tests/catalogue/fixture_file.h"
#include "tests/deffile/recording_sink.h"
#include "tests/tools/run_vxtags.h"
#include "tools/vxtags/definition_convert.h"

namespace {

using vx::test_support::ReadWholeFile;
using vx::test_support::RunVxtags;
using vxtags::Conversion;

const std::string UTF8_HEADER = vx::DEFINITION_HEADER_UTF8;
const std::string CP932_HEADER = vx::DEFINITION_HEADER;

std::string Encoded(char32_t c) {
  unsigned char bytes[2];
  return std::string(reinterpret_cast<char*>(bytes), vx::EncodeCp932(c, bytes));
}

// "LINE:COLUMN" of every finding, in order.
std::vector<std::string> Places(const Conversion& conversion) {
  std::vector<std::string> places;
  for (const auto& finding : conversion.findings)
    places.push_back(std::to_string(finding.line) + ":" + std::to_string(finding.column));
  return places;
}

TEST(Cp932Codec, LookAlikesAreRefusedAndTheCodesWindowsWritesAreKept) {
  // glibc alone would write these as 5C, 7E, 8160, 815C, 8161, 817C, 8191, 8192, 81CA.
  for (char32_t c : {0x00A5, 0x203E, 0x301C, 0x2014, 0x2016, 0x2212, 0x00A2, 0x00A3, 0x00AC, 0x00A6, 0x00A0, 0x0080,
                     0xF8F0, 0xF8F3, 0x1F600})
    EXPECT_EQ(Encoded(c), "") << std::hex << static_cast<unsigned>(c);
  const std::vector<std::pair<char32_t, std::string>> kept = {
      {'\\', "\\"},           {'~', "~"},             {0xFF5E, "\x81\x60"},  {0x2015, "\x81\x5C"},
      {0x2225, "\x81\x61"},   {0xFF0D, "\x81\x7C"},   {0xFFE0, "\x81\x91"},  {0xFFE2, "\x81\xCA"},
      {0xFFE5, "\x81\x8F"},   {0xFF71, "\xB1"},       {0x8868, "\x95\x5C"},  {0xE000, "\xF0\x40"},
      // Characters with two or three codes get the one Windows writes.
      {0x2252, "\x81\xE0"},   {0x2160, "\x87\x54"},   {0x2170, "\xFA\x40"},  {0x7E8A, "\xFA\x5C"},
      {0x2235, "\x81\xE6"},   {0x3231, "\x87\x8A"},
  };
  for (const auto& [c, bytes] : kept) EXPECT_EQ(Encoded(c), bytes) << std::hex << static_cast<unsigned>(c);
  for (unsigned char b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF})
    EXPECT_EQ(vx::DecodeCp932(&b, 1).length, 0u) << static_cast<int>(b);
}

// glibc's converter on one character's bytes; "" when it refuses them.
std::string Iconv(iconv_t converter, const std::string& in) {
  char out[16];
  char* input = const_cast<char*>(in.data());
  char* output = out;
  std::size_t inLeft = in.size();
  std::size_t outLeft = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return "";
  return std::string(out, sizeof out - outLeft);
}

std::string Utf32(char32_t c) {
  const char bytes[4] = {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16), 0};
  return std::string(bytes, 4);
}

// The table is glibc's CP932 code for code; encoding writes glibc's choice
// among a character's codes, and only a code that decodes back to it.
TEST(Cp932Codec, TableIsGlibcsCodePage932CodeForCode) {
  const iconv_t decode = iconv_open("UTF-32LE", "CP932");
  const iconv_t encode = iconv_open("CP932", "UTF-32LE");
  ASSERT_NE(decode, reinterpret_cast<iconv_t>(-1));
  ASSERT_NE(encode, reinterpret_cast<iconv_t>(-1));
  int assigned = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!vx::IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string glibc = Iconv(decode, bytes);
      const char32_t expected = glibc.size() == 4 ? static_cast<char32_t>(
          static_cast<unsigned char>(glibc[0]) | static_cast<unsigned char>(glibc[1]) << 8 |
          static_cast<unsigned char>(glibc[2]) << 16) : 0;
      ASSERT_EQ(vx::Cp932DoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)), expected)
          << std::hex << lead << " " << trail;
      assigned += expected != 0;
    }
  }
  EXPECT_EQ(assigned, 9604);
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string glibc = Iconv(encode, Utf32(c));
    const auto lead = glibc.empty() ? 0 : static_cast<unsigned char>(glibc[0]);
    const bool strict = glibc.size() == 2 ? vx::IsCp932LeadByte(lead) : glibc.size() == 1 && lead >= 0xA1 && lead <= 0xDF;
    if (!strict || Iconv(decode, glibc) != Utf32(c)) glibc.clear();
    ASSERT_EQ(Encoded(c), glibc) << std::hex << static_cast<unsigned>(c);
  }
  iconv_close(decode);
  iconv_close(encode);
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
    const Conversion converted = vxtags::ConvertDefinitionToUtf8(CP932_HEADER + "\r\nlabel\r\n" + line + "\r\n");
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
    const Conversion conversion = vxtags::ConvertDefinitionToCp932(input);
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
  const Conversion conversion = vxtags::ConvertDefinitionToCp932(input);
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
  const Conversion conversion = vxtags::ConvertDefinitionToCp932(input);
  EXPECT_EQ(conversion.findingCount, 6001u);
  ASSERT_EQ(conversion.findings.size(), vxtags::KEPT_FINDINGS);
  EXPECT_EQ(Places(conversion)[0], "2:2");
  EXPECT_EQ(Places(conversion)[1], "2:5");
  EXPECT_EQ(Places(conversion).back(), "501:5");
}

TEST(ConvertToCp932, RefusesAFileWithoutTheHeaderOrAlreadyConverted) {
  for (const std::string& input : {std::string(), UTF8_HEADER + " \nA\n<a>\n", std::string("A\n<a>\n"), std::string("\xFF\xFE[\0V\0", 6)}) {
    const Conversion conversion = vxtags::ConvertDefinitionToCp932(input);
    ASSERT_FALSE(conversion.findings.empty());
    EXPECT_EQ(Places(conversion)[0], "1:1");
    EXPECT_EQ(conversion.findings[0].message.rfind("the first line must be the header", 0), 0u);
  }
  const Conversion again = vxtags::ConvertDefinitionToCp932(CP932_HEADER + "\r\n.\x95\x5C\r\n");
  EXPECT_EQ(Places(again), (std::vector<std::string>{"1:1"}));
  EXPECT_EQ(again.findings[0].message, "the file is already in code page 932; there is nothing to convert");
}

TEST(ConvertToCp932, LinesAfterTheLastEntryOrFolderTheLoaderTakesAreRefusedOnce) {
  std::string input = UTF8_HEADER + "\n";
  for (int i = 0; i < vx::MAX_DEFINITION_TEXTS; ++i) input += "L\n<t>\n";
  input += "\n.late\nmore\n<x>\n";
  EXPECT_EQ(Places(vxtags::ConvertDefinitionToCp932(input)),
            (std::vector<std::string>{std::to_string(2 + 2 * vx::MAX_DEFINITION_TEXTS + 1) + ":1"}));

  std::string folders = UTF8_HEADER + "\n";
  for (int i = 0; i < vx::MAX_DEFINITION_FOLDERS; ++i) folders += ".F\n";
  folders += "late\n<x>\n";
  EXPECT_EQ(Places(vxtags::ConvertDefinitionToCp932(folders)),
            (std::vector<std::string>{std::to_string(2 + vx::MAX_DEFINITION_FOLDERS) + ":1"}));
}

TEST(ConvertToUtf8, RefusesInvalidSequencesAndSecondCodesAtTheirColumns) {
  const std::string input = CP932_HEADER + "\r\n\x95\x5C\x81\x20\x80\xA0\xFD\r\n\xED\x40\xFA\x4A\x87\x90\xFA\x5C\x81";
  const Conversion conversion = vxtags::ConvertDefinitionToUtf8(input);
  // 0x20 cannot end a double-byte character: the lead byte fails alone.
  EXPECT_EQ(Places(conversion), (std::vector<std::string>{"2:2", "2:4", "2:5", "2:6", "3:1", "3:2", "3:3", "3:5"}));
  ASSERT_EQ(conversion.findings.size(), 8u);
  EXPECT_EQ(conversion.findings[0].message, "0x81 is not a code page 932 character");
  EXPECT_EQ(conversion.findings[4].message,
            "0xED 0x40 is a second code of U+7E8A (\xE7\xBA\x8A); converting back would write 0xFA 0x5C, so retype "
            "the character to get that code");
  EXPECT_EQ(conversion.findings[7].message, "0x81 starts a double-byte character that the line ends in");

  const Conversion utf8 = vxtags::ConvertDefinitionToUtf8("\xEF\xBB\xBF" + UTF8_HEADER + "\n");
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
  const Conversion utf8 = vxtags::ConvertDefinitionToUtf8(original);
  ASSERT_TRUE(utf8.findings.empty());
  EXPECT_EQ(utf8.output.find('\r'), std::string::npos);
  const Conversion back = vxtags::ConvertDefinitionToCp932(utf8.output);
  ASSERT_TRUE(back.findings.empty());
  EXPECT_EQ(Loaded(back.output), Loaded(original));
  EXPECT_EQ(Loaded(original).size(), 6u);
}

// The command itself, on files in a folder of the test's own.
struct ConvertCommand : ::testing::Test {
  std::string folder;
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    folder = std::string(tmp != nullptr ? tmp : "/tmp") + "/vxtags-convert-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
  }
  void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }
  std::string Write(const char* name, const std::string& bytes) {
    const std::string path = folder + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
  }
  std::string Convert(const std::string& arguments, int expectedStatus, const std::string& errorsTo = "/dev/null") {
    const vx::test_support::VxtagsRun run = RunVxtags("convert " + arguments, errorsTo);
    EXPECT_EQ(run.status, expectedStatus) << arguments;
    return run.output;
  }
  std::string Listing() {
    FILE* pipe = popen(("ls -A '" + folder + "'").c_str(), "r");
    std::string names;
    char chunk[512];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) names.append(chunk, n);
    pclose(pipe);
    return names;
  }
};

TEST_F(ConvertCommand, RefusalPrintsLocatedFindingsAndLeavesTheOutputAsItWas) {
  const std::string input = Write("in.def.utf8", UTF8_HEADER + "\n.F\nyen ¥\n");
  const std::string output = Write("out.def", "old");
  EXPECT_EQ(Convert(input + " " + output, 1),
            input + ":3:5: U+00A5 (\xC2\xA5) has no code in code page 932; write \xEF\xBF\xA5 (U+FFE5) or &yen; instead\n" +
                input + ": 1 findings; " + output + " was not written\n");
  EXPECT_EQ(ReadWholeFile(output), "old");
  EXPECT_EQ(Listing(), "in.def.utf8\nout.def\n");
}

TEST_F(ConvertCommand, BothWaysReplaceTheOutputWholeKeepingItsMode) {
  const std::string input = Write("in.def.utf8", UTF8_HEADER + "\r\n.表\r\n");
  const std::string output = Write("out.def", "old");
  chmod(output.c_str(), 0640);
  EXPECT_EQ(Convert(input + " " + output, 0), "");
  EXPECT_EQ(ReadWholeFile(output), CP932_HEADER + "\r\n.\x95\x5C\r\n");
  struct stat status;
  ASSERT_EQ(stat(output.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(Convert("--to-utf8 " + output + " " + folder + "/back.utf8", 0), "");
  EXPECT_EQ(ReadWholeFile(folder + "/back.utf8"), UTF8_HEADER + "\n.表\n");
  EXPECT_EQ(Listing(), "back.utf8\nin.def.utf8\nout.def\n");
}

TEST_F(ConvertCommand, NeverWritesOverItsInputAndReportsUsageAndIoErrorsWithTwo) {
  const std::string input = Write("in.def.utf8", UTF8_HEADER + "\n");
  ASSERT_EQ(link(input.c_str(), (folder + "/hard").c_str()), 0);
  ASSERT_EQ(symlink(input.c_str(), (folder + "/soft").c_str()), 0);
  for (const std::string& output : {input, folder + "/hard", folder + "/soft", folder + "/../" +
                                        folder.substr(folder.rfind('/') + 1) + "/in.def.utf8"})
    EXPECT_EQ(Convert(input + " " + output, 2), "");
  EXPECT_EQ(ReadWholeFile(input), UTF8_HEADER + "\n");
  for (const std::string& arguments :
       {std::string(), input, "--to-utf8 " + input, input + " a b", "--to-cp932 " + input + " x",
        folder + "/missing " + folder + "/x", folder + " " + folder + "/x", input + " " + folder + "/no/such/x"})
    EXPECT_EQ(Convert(arguments, 2), "") << arguments;
  EXPECT_EQ(Listing(), "hard\nin.def.utf8\nsoft\n");
  EXPECT_NE(RunVxtags("--help").output.find("vxtags convert [--to-utf8] INPUT OUTPUT\n"), std::string::npos);
}

// Whatever stands at OUTPUT that is not a writable regular file is refused
// before anything is written, and stays what it was; inputs that are not
// files or pipes are refused with their reason, without waiting.
TEST_F(ConvertCommand, HostileOutputsAndInputsAreRefusedWithTheirReason) {
  const std::string input = Write("in.def.utf8", UTF8_HEADER + "\n.F\n");
  const std::string other = Write("other", "keep");
  const std::string errors = folder + "/../" + folder.substr(folder.rfind('/') + 1) + ".errors";
  ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0644), 0);
  ASSERT_EQ(mkdir((folder + "/dir").c_str(), 0755), 0);
  ASSERT_EQ(symlink(other.c_str(), (folder + "/link").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (folder + "/dangling").c_str()), 0);
  const std::string readOnly = Write("read-only", "keep");
  chmod(readOnly.c_str(), 0444);
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s/socket", folder.c_str());
  const bool bound = bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  // A null device of the test's own, where it is allowed: replacing it would harm no one.
  const bool device = mknod((folder + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  struct Case {
    std::string arguments;
    int status;
    std::string error;
  };
  const std::vector<Case> cases = {
      {input + " " + folder + "/fifo", 2, "cannot write " + folder + "/fifo: Not a regular file (a FIFO)"},
      {input + " " + folder + "/dir", 2, "cannot write " + folder + "/dir: Is a directory"},
      {input + " " + folder + "/link", 2, "cannot write " + folder + "/link: Is a symbolic link; name the file it points to"},
      {input + " " + folder + "/dangling", 2, "cannot write " + folder + "/dangling: Is a symbolic link; name the file it points to"},
      {input + " " + readOnly, 2, "cannot write " + readOnly + ": Read-only file"},
      {input + " " + folder + "/socket", bound ? 2 : 0, bound ? "cannot write " + folder + "/socket: Not a regular file (a socket)" : ""},
      {input + " " + folder + "/null", device ? 2 : 0, device ? "cannot write " + folder + "/null: Not a regular file (a device)" : ""},
      {"/dev/zero " + folder + "/out", 2, "cannot read /dev/zero: Not a regular file (a device)"},
      {folder + "/dir " + folder + "/out", 2, "cannot read " + folder + "/dir: Is a directory"},
      // A FIFO without a writer is read, as empty, at once.
      {folder + "/fifo " + folder + "/out", 1, ""},
  };
  for (const Case& c : cases) {
    if (c.status == 0) continue;
    Convert(c.arguments, c.status, errors);
    const std::string said = ReadWholeFile(errors);
    EXPECT_EQ(said, c.error.empty() ? "" : "vxtags convert: " + c.error + "\n") << c.arguments;
  }
  std::remove(errors.c_str());
  struct stat status;
  EXPECT_TRUE(stat((folder + "/fifo").c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
  EXPECT_TRUE(lstat((folder + "/link").c_str(), &status) == 0 && S_ISLNK(status.st_mode));
  EXPECT_TRUE(!device || (stat((folder + "/null").c_str(), &status) == 0 && S_ISCHR(status.st_mode)));
  EXPECT_EQ(ReadWholeFile(other), "keep");
  EXPECT_EQ(ReadWholeFile(readOnly), "keep");
  close(sock);
  // A pipe is read once, like a file.
  EXPECT_EQ(std::system(("cat '" + input + "' | " + VXTAGS_PATH + " convert /dev/stdin '" + folder + "/piped'").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(folder + "/piped"), CP932_HEADER + "\r\n.F\r\n");
  EXPECT_EQ(std::system(("cat '" + input + "' | " + VXTAGS_PATH + " convert - '" + folder + "/dashed'").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(folder + "/dashed"), CP932_HEADER + "\r\n.F\r\n");
}

// The temporary name is short whatever the output's, a run removes the
// temporary files that a killed run left (not those still being written), and
// a signal during the write leaves none.
TEST_F(ConvertCommand, TemporaryFilesFitAndNeverOutliveTheRun) {
  const std::string input = Write("in.def.utf8", UTF8_HEADER + "\n.F\n");
  const std::string longName(255, 'n');
  const std::string abandoned = Write(".vxtags-a1b2c3.tmp", "left by a killed run");
  const std::string busy = Write(".vxtags-d4e5f6.tmp", "being written");
  const int held = open(busy.c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  Convert(input + " " + folder + "/" + longName, 0);
  close(held);
  EXPECT_EQ(ReadWholeFile(folder + "/" + longName), CP932_HEADER + "\r\n.F\r\n");
  EXPECT_EQ(Listing(), ".vxtags-d4e5f6.tmp\nin.def.utf8\n" + longName + "\n");
  std::remove(busy.c_str());

  // A file size limit stops the write with SIGXFSZ half-way.
  std::string big = UTF8_HEADER + "\n";
  for (int i = 0; i < 2000; ++i) big += "label\n<p>text</p>\n";
  const std::string large = Write("large.def.utf8", big);
  const std::string output = Write("out.def", "old");
  const int status = std::system(("ulimit -f 4; exec " + std::string(VXTAGS_PATH) + " convert '" + large + "' '" +
                                  output + "' 2>/dev/null").c_str());
  EXPECT_NE(status, 0);
  EXPECT_EQ(ReadWholeFile(output), "old");
  EXPECT_EQ(Listing(), "in.def.utf8\nlarge.def.utf8\n" + longName + "\nout.def\n");
}

}  // namespace
