// The built "vxtags tree" against the catalogue's fixture and definition
// files written by the test.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "deffile/definition_loader.h"
#include "tests/catalogue/fixture_file.h"
#include "tests/vxtags/run_vxtags.h"

namespace {

struct RunResult {
  int status;
  std::string output;
  std::string errors;
};

std::string TempPath(const char* suffix) {
  return std::string(::testing::TempDir()) + "vxtags_tree_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix;
}

RunResult RunTree(const std::string& arguments) {
  const std::string errors = TempPath(".stderr");
  const vx::test_support::VxtagsRun run = vx::test_support::RunVxtags("tree " + arguments, errors);
  RunResult result{run.status, run.output, vx::test_support::ReadWholeFile(errors)};
  std::remove(errors.c_str());
  return result;
}

std::string WriteFile(const std::string& bytes) {
  const std::string path = TempPath(".txt");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

const std::string CATALOGUE =
    vx::test_support::ReadWholeFile(vx::test_support::FixturePath("tests/catalogue/catalogue.expected"));

TEST(VxtagsTree, WithoutAFileItIsTheCatalogue) {
  ASSERT_FALSE(CATALOGUE.empty());
  const RunResult run = RunTree("");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, CATALOGUE);
  EXPECT_EQ(run.errors, "");
}

TEST(VxtagsTree, UserItemsFollowInPreOrderWithTheirTexts) {
  // "表" is 95 5C in code page 932: its trail byte must not print as a backslash.
  const std::string path = WriteFile(std::string(vx::DEFINITION_HEADER) +
                                     "\nfirst\n<a>\t\\\n.F\n\x95\x5C\nx\n..G\nlast\n\n");
  const RunResult run = RunTree(path);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, CATALOGUE +
                            "0\tuser\t0\tfirst\t<a>\\t\\\\\n"
                            "0\tfolder\t-2\tF\n"
                            "1\tuser\t1\t表\tx\n"
                            "1\tfolder\t-2\tG\n"
                            "2\tuser\t2\tlast\t\n");
  std::remove(path.c_str());
}

// The file and the lines that vxtags.exe is held to under Wine (tests/vxtags/vxtags_test_win32.cpp):
// both programs print the same bytes for it.
TEST(VxtagsTree, TheSameBytesAsTheWindowsProgramForItsSampleFile) {
  const std::string path = WriteFile("[VX-HTML\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B]\r\n"
                                     ".\x83\x74\x83\x48\x83\x8B\x83\x5F\x81\x5B\r\n\x83\x89\x83\x78\x83\x8B\r\n<b>\x95\x5C</b>\r\n");
  const RunResult run = RunTree(path);
  std::remove(path.c_str());
  EXPECT_EQ(run.output, CATALOGUE + "0\tfolder\t-2\tフォルダー\n1\tuser\t0\tラベル\t<b>表</b>\n");
}

// The tree stops where the loader and the checker say it stops.
TEST(VxtagsTree, HoldsNoMoreThan3000UserFolders) {
  std::string body;
  for (int i = 0; i < 3001; ++i) body += ".F\n";
  const std::string path = WriteFile(std::string(vx::DEFINITION_HEADER) + "\n" + body + "late\n<x>\n");
  const RunResult run = RunTree(path);
  std::remove(path.c_str());
  std::string folders;
  for (int i = 0; i < 3000; ++i) folders += "0\tfolder\t-2\tF\n";
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, CATALOGUE + folders);
}

// What the tag window ignores prints the catalogue alone, with a note saying why.
void ExpectIgnored(const RunResult& run, int status, const char* note, const char* what) {
  EXPECT_EQ(run.status, status) << what;
  EXPECT_EQ(run.output, CATALOGUE) << what;
  EXPECT_NE(run.errors.find(note), std::string::npos) << what << ": " << run.errors;
}

TEST(VxtagsTree, FileTheTagWindowWouldIgnoreGivesTheCatalogueAndANote) {
  ExpectIgnored(RunTree(TempPath(".absent")), 2, "cannot read", "a missing file");

  const std::string path = WriteFile(std::string(vx::DEFINITION_HEADER) + " \nentry\ntext\n");
  ExpectIgnored(RunTree(path), 0, "header", "a blank after the header");
  std::remove(path.c_str());

  // CR LF line ends are no wrong header.
  const std::string crlf = WriteFile(std::string(vx::DEFINITION_HEADER) + "\r\nentry\r\ntext\r\n");
  const RunResult accepted = RunTree(crlf);
  EXPECT_EQ(accepted.output, CATALOGUE + "0\tuser\t0\tentry\ttext\n");
  EXPECT_EQ(accepted.errors, "");
  std::remove(crlf.c_str());

  // The note follows the loader's own reading: a 0x1A before the header's line
  // end leaves no header, and a folder opens but cannot be read.
  const std::string marked = WriteFile(std::string(vx::DEFINITION_HEADER) + "\x1A\nentry\ntext\n");
  ExpectIgnored(RunTree(marked), 0, "header", "0x1A before the header's line end");
  std::remove(marked.c_str());
  ExpectIgnored(RunTree(::testing::TempDir()), 2, "Is a directory", "a folder");
}

// The file is read once, so a pipe gives the same tree as the file.
TEST(VxtagsTree, ReadsAPipeLikeAFile) {
  const std::string path = WriteFile(std::string(vx::DEFINITION_HEADER) + "\r\nentry\r\ntext\r\n");
  FILE* pipe = popen(("cat '" + path + "' | " + VXTAGS_PATH + " tree /dev/stdin").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(output, CATALOGUE + "0\tuser\t0\tentry\ttext\n");
  std::remove(path.c_str());
}

}  // namespace
