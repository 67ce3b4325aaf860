// The definition-file example that the readmes and the guides show, in both
// languages, converted as a user would and loaded by the real loader: each
// must load, and all must give the same folders and entries, so that no
// text drifts from the others.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deffile/definition_format.h"
#include "tests/catalogue/fixture_file.h"
#include "tests/deffile/recording_sink.h"
#include "deffile/definition_convert.h"

namespace {

constexpr const char* USER_TEXTS[] = {
    "docs/package/README-ja.txt",
    "docs/package/README-en.txt",
    "docs/definition-files.md",
    "docs/definition-files.en.md",
};

// The lines from the header line on that share its indentation, without it;
// a blank line, a shallower line or a closing fence ends the example.
std::string ExampleOf(const std::string& text) {
  const std::string header = vx::DEFINITION_HEADER_UTF8;
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string::size_type indent = line.find_first_not_of(' ');
    if (indent == std::string::npos || line.substr(indent) != header) continue;
    std::string example;
    for (std::size_t j = i; j < lines.size(); ++j) {
      std::string own = lines[j];
      if (!own.empty() && own.back() == '\r') own.pop_back();
      if (own.size() <= indent || own.compare(0, indent, std::string(indent, ' ')) != 0 || own[indent] == ' ' ||
          own.compare(indent, 3, "```") == 0)
        break;
      example += own.substr(indent) + "\n";
    }
    return example;
  }
  return "";
}

std::vector<std::string> LoadExample(const std::string& file) {
  const std::string example = ExampleOf(vx::test_support::ReadWholeFile(vx::test_support::FixturePath(file)));
  EXPECT_FALSE(example.empty()) << file << " shows no example starting with the header line";
  const vx::Conversion conversion = vx::ConvertDefinitionToCp932(example);
  for (const auto& finding : conversion.findings)
    ADD_FAILURE() << file << ": example line " << finding.line << ": " << finding.message;
  return vx::test_support::LoadPaths(conversion.output);
}

TEST(UserTextExamples, EveryReadmeAndGuideShowsTheSameLoadableExample) {
  const std::vector<std::string> reference = LoadExample(USER_TEXTS[0]);
  int folders = 0;
  int entries = 0;
  for (const std::string& path : reference) (path.back() == '/' ? folders : entries) += 1;
  // A folder, one inside it and entries: the example shows every kind of line.
  EXPECT_GE(folders, 2) << ::testing::PrintToString(reference);
  EXPECT_GE(entries, 2) << ::testing::PrintToString(reference);
  for (const char* file : USER_TEXTS) EXPECT_EQ(LoadExample(file), reference) << file;
}

TEST(UserTextExamples, ExampleEndsAtTheFirstLineOutsideIt) {
  const std::string header = vx::DEFINITION_HEADER_UTF8;
  EXPECT_EQ(ExampleOf("Example:\r\n  " + header + "\r\n  .A\r\n    B\r\n"), header + "\n.A\n");
  EXPECT_EQ(ExampleOf("```\n" + header + "\nX\n<x>\n```\nafter\n"), header + "\nX\n<x>\n");
  EXPECT_EQ(ExampleOf("no example here\n"), "");
}

}  // namespace
