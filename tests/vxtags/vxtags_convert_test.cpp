// "vxtags convert" as users run it: the command's findings, exit statuses
// and file handling.
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

#include "deffile/definition_format.h"
#include "tests/catalogue/fixture_file.h"
#include "tests/vxtags/run_vxtags.h"

namespace {

using vx::test_support::ReadWholeFile;
using vx::test_support::RunVxtags;

const std::string UTF8_HEADER = vx::DEFINITION_HEADER_UTF8;
const std::string CP932_HEADER = vx::DEFINITION_HEADER;

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
