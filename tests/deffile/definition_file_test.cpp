// A real file through LoadDefinitionFile: the same bytes must load the same
// items on Linux and under Windows, whose C runtime would otherwise apply its
// own text mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "deffile/definition_loader.h"
#include "tests/deffile/recording_sink.h"

namespace vx::test_support {
namespace {

std::string TemporaryPath(const char* name) {
  const char* dir = std::getenv("TEMP");
  if (dir == nullptr) dir = std::getenv("TMPDIR");
  if (dir == nullptr) dir = "/tmp";
  return std::string(dir) + "/" + name;
}

TEST(DefinitionFile, LoadsTheFileBytesUnchangedUnderItsCodePage932Name) {
  // "表" is 95 5C: a trail byte that looks like a backslash must survive.
  const std::string body = ".\x95\x5C\r\nA\r\n<a href=\"x\">\r\n\x1A" "B\r\n<b>\r\n";
  const std::string path = TemporaryPath("vx deffile \x92\xE8\x8B\x60.txt");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  const std::string bytes = Header() + body;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);

  RecordingSink sink;
  LoadDefinitionFile(path.c_str(), sink);
  std::remove(path.c_str());
  EXPECT_EQ(sink.Paths(), (std::vector<std::string>{"\x95\x5C/", "\x95\x5C/A #0 = <a href=\"x\">"}));
}

}  // namespace
}  // namespace vx::test_support
