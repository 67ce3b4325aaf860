// "vxtags check" as an author runs it: the printed findings and the exit status.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "deffile/definition_loader.h"

namespace {

struct CheckRun {
  int status;
  std::string output;
};

CheckRun RunCheck(const std::string& path) {
  const std::string command = std::string(VXTAGS_PATH) + " check '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  EXPECT_NE(pipe, nullptr);
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int wait = pclose(pipe);
  return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, output};
}

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
  const CheckRun run = RunCheck(path);
  std::remove(path.c_str());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, path + ": the loader adds 1 folders and 1 entries; 0 findings\n");
}

TEST(VxtagsCheck, FindingsAreNumberedLinesAndExitOne) {
  const std::string path = WriteDefinitionFile("vxtags-check-findings.txt", "..Sub\r\nA\r\n.x\r\nB\r\n\x1A" "C\r\n");
  const CheckRun run = RunCheck(path);
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
