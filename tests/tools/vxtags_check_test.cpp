// "vxtags check" as an author runs it: the printed findings and the exit status.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "deffile/definition_loader.h"
#include "tests/tools/run_vxtags.h"

namespace {

using vx::test_support::VxtagsRun;

VxtagsRun RunCheck(const std::string& path) { return vx::test_support::RunVxtags("check '" + path + "'"); }

std::string WriteDefinitionFile(const char* name, const std::string& body) {
  const char* dir = std::getenv("TMPDIR");
  const std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  const std::string bytes = std::string(vx::DEFINITION_HEADER) + "\r\n" + body;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

TEST(VxtagsCheck, CleanFileExitsZeroWithItsSummary) {
  const std::string path = WriteDefinitionFile("vxtags-check-clean.txt", ".F\r\nA\r\n<a>\r\n");
  const VxtagsRun run = RunCheck(path);
  std::remove(path.c_str());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, path + ": the loader adds 1 folders and 1 entries; 0 findings\n");
}

TEST(VxtagsCheck, FindingsAreNumberedLinesAndExitOne) {
  const std::string path = WriteDefinitionFile("vxtags-check-findings.txt", "..Sub\r\nA\r\n.x\r\nB\r\n\x1A" "C\r\n");
  const VxtagsRun run = RunCheck(path);
  std::remove(path.c_str());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            path + ":2: folder of level 1 goes to the top level: no folder of level 0 comes before it\n" +
            path + ":4: looks like a folder line but is read as the text of the label on line 3\n" +
            path + ":5: the label ends the file without a text line; its entry inserts nothing\n" +
            path + ":6: a 0x1A byte ends the file here; the loader ignores the 3 bytes after it\n" +
            path + ": the loader adds 1 folders and 2 entries; 4 findings\n");
}

TEST(VxtagsCheck, UnreadableFileExitsTwo) {
  EXPECT_EQ(RunCheck("/nonexistent/definition.txt").status, 2);
  const char* dir = std::getenv("TMPDIR");
  EXPECT_EQ(RunCheck(dir != nullptr ? dir : "/tmp").status, 2);
}

}  // namespace
