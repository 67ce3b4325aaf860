// "vxtags check" as an author runs it: the printed findings and the exit status.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "deffile/definition_format.h"
#include "deffile/definition_loader.h"
#include "tests/vxtags/run_vxtags.h"

namespace {

using vx::test_support::VxtagsRun;

VxtagsRun RunCheck(const std::string& path, const std::string& errorsTo = "/dev/null") {
  return vx::test_support::RunVxtags("check '" + path + "'", errorsTo);
}

std::string TempFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir != nullptr && dir[0] != '\0' ? dir : "/tmp";
}

// A name of our own: two runs at once never share one, and nothing planted
// under a guessed name is followed.
struct TempFile {
  std::string path;
  explicit TempFile(const std::string& bytes) {
    std::string pattern = TempFolder() + "/vxtags-check-XXXXXX";
    const int fd = mkstemp(&pattern[0]);
    EXPECT_GE(fd, 0) << pattern;
    if (fd < 0) return;
    path = pattern;
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);
  }
  ~TempFile() {
    if (!path.empty()) std::remove(path.c_str());
  }
  std::string Read() const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

std::string DefinitionFile(const std::string& body) { return std::string(vx::DEFINITION_HEADER) + "\r\n" + body; }

TEST(VxtagsCheck, CleanFileExitsZeroWithItsSummary) {
  const TempFile file(DefinitionFile(".F\r\nA\r\n<a>\r\n"));
  const VxtagsRun run = RunCheck(file.path);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, file.path + ": the loader adds 1 folders and 1 entries; 0 findings\n");
}

TEST(VxtagsCheck, FindingsAreNumberedLinesAndExitOne) {
  const TempFile file(DefinitionFile("..Sub\r\nA\r\n.x\r\nB\r\n\x1A" "C\r\n"));
  const std::string& path = file.path;
  const VxtagsRun run = RunCheck(path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            path + ":2: folder of level 1 goes to the top level: no folder of level 0 comes before it\n" +
            path + ":4: looks like a folder line but is read as the text of the label on line 3\n" +
            path + ":5: the label ends the file without a text line; its entry inserts nothing\n" +
            path + ":6: a 0x1A byte ends the file here; the loader reads nothing after it\n" +
            path + ": the loader adds 1 folders and 2 entries; 4 findings\n");
}

std::string WriteRaw(const std::string& name, const std::string& bytes) {
  const char* dir = std::getenv("TMPDIR");
  const std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  EXPECT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

// The one finding names the encoding and a command line the shell runs as it
// stands: the recommended name pair, or a new name beside a name of any other form.
TEST(VxtagsCheck, Utf8FileGetsOneFindingWithTheCommandThatConvertsIt) {
  const std::string header = vx::DEFINITION_HEADER_UTF8;
  const std::string plain = WriteRaw("vxtags-check-html5.def.utf8", header + "\n.F\nA\n<a>\n");
  const std::string marked = WriteRaw("vxtags check $HOME.def", "\xEF\xBB\xBF" + header + "\r\nA\r\n<a>\r\n");
  const VxtagsRun plainRun = RunCheck(plain);
  const VxtagsRun markedRun = RunCheck(marked);
  std::remove(plain.c_str());
  std::remove(marked.c_str());
  EXPECT_EQ(plainRun.status, 1);
  EXPECT_EQ(plainRun.output,
            plain + ":1: the file is in UTF-8; the loader reads only code page 932 and ignores it; convert it with: "
                    "vxtags convert " + plain + " " + plain.substr(0, plain.size() - 5) + "\n" +
            plain + ": the loader adds 0 folders and 0 entries; 1 findings\n");
  const std::string folder = marked.substr(0, marked.rfind('/') + 1);
  EXPECT_EQ(markedRun.status, 1);
  EXPECT_EQ(markedRun.output,
            marked + ":1: the file is in UTF-8 with a byte-order mark; the loader reads only code page 932 and "
                     "ignores it; convert it with: vxtags convert '" + folder + "vxtags check $HOME.def' '" + folder +
            "vxtags check $HOME.cp932.def'\n" +
            marked + ": the loader adds 0 folders and 0 entries; 1 findings\n");
  // A name that begins with a dash is suggested in a form no program takes for an option.
  const std::string dashed = WriteRaw("-vxtags-check.def.utf8", header + "\n");
  const std::string command = "cd '" + dashed.substr(0, dashed.rfind('/')) + "' && " + VXTAGS_PATH +
                              " check -vxtags-check.def.utf8";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[512] = {};
  const std::string said = std::fgets(line, sizeof line, pipe) != nullptr ? line : "";
  pclose(pipe);
  EXPECT_NE(said.find("; convert it with: vxtags convert ./-vxtags-check.def.utf8 ./-vxtags-check.def\n"),
            std::string::npos) << said;
  std::remove(dashed.c_str());
}

// "-" is standard input, a file or a pipe; neither gives a name to derive the
// converted file's from, so the suggestion names a placeholder.
TEST(VxtagsCheck, DashReadsStandardInputAndNoNameIsMadeUpForAPipe) {
  const TempFile clean(DefinitionFile(".F\r\nA\r\n<a>\r\n"));
  const TempFile utf8(std::string(vx::DEFINITION_HEADER_UTF8) + "\n");
  const std::string program = VXTAGS_PATH;
  const std::string suggested = ":1: the file is in UTF-8; the loader reads only code page 932 and ignores it; "
                                "convert it with: vxtags convert ";
  struct Case {
    std::string command;
    int status;
    std::string output;
  };
  const Case cases[] = {
      {program + " check - < '" + clean.path + "'", 0, "-: the loader adds 1 folders and 1 entries; 0 findings\n"},
      {"cat '" + utf8.path + "' | " + program + " check -", 1,
       "-" + suggested + "- NAME.def\n-: the loader adds 0 folders and 0 entries; 1 findings\n"},
      {program + " check - < '" + utf8.path + "'", 1,
       "-" + suggested + "- NAME.def\n-: the loader adds 0 folders and 0 entries; 1 findings\n"},
      {"cat '" + utf8.path + "' | " + program + " check /dev/stdin", 1,
       "/dev/stdin" + suggested + "/dev/stdin NAME.def\n/dev/stdin: the loader adds 0 folders and 0 entries; 1 findings\n"},
      {"cat '" + clean.path + "' | " + program + " tree - | tail -n 2", 0, "0\tfolder\t-2\tF\n1\tuser\t0\tA\t<a>\n"},
  };
  for (const Case& c : cases) {
    FILE* pipe = popen((c.command + " 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status) << c.command << ": " << status;
    EXPECT_EQ(output, c.output) << c.command;
  }
}

// One clear error and nothing about a content that was never read.
TEST(VxtagsCheck, UnreadableFileExitsTwoWithOneErrorAndNoFinding) {
  EXPECT_EQ(RunCheck("/nonexistent/definition.txt").status, 2);
  const TempFile errors("");
  const VxtagsRun folder = RunCheck(TempFolder(), errors.path);
  EXPECT_EQ(folder.status, 2);
  EXPECT_EQ(folder.output, "");
  EXPECT_EQ(errors.Read(), "vxtags check: cannot read " + TempFolder() + ": Is a directory\n");
}

// The bound of folders, told at the line where the loader stops.
TEST(VxtagsCheck, TellsWhereTheFolderBoundCutsTheFile) {
  std::string body;
  for (int i = 0; i < 3001; ++i) body += ".F\r\n";
  const TempFile file(DefinitionFile(body));
  const VxtagsRun run = RunCheck(file.path);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output,
            file.path + ":3002: the loader stops after 3000 folders and ignores this line and all after it\n" +
            file.path + ": the loader adds 3000 folders and 0 entries; 1 findings\n");
}

// A pipe that never ends after its 0x1A: the check ends where the loader would.
TEST(VxtagsCheck, StopsAtTheEndMarkOfAnEndlessPipe) {
  const TempFile head(DefinitionFile("A\r\n<a>\r\n\x1A"));
  const std::string command =
      "{ cat '" + head.path + "'; yes; } | " + std::string(VXTAGS_PATH) + " check /dev/stdin";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(output,
            "/dev/stdin:4: a 0x1A byte ends the file here; the loader reads nothing after it\n"
            "/dev/stdin: the loader adds 0 folders and 1 entries; 1 findings\n");
}

}  // namespace
