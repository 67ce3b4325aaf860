// The built vxtags program against the fixtures it prints.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/catalogue/fixture_file.h"
#include "tests/vxtags/run_vxtags.h"

namespace {

using vx::test_support::RunVxtags;
using vx::test_support::VxtagsRun;

std::string Fixture(const char* name) {
  return vx::test_support::ReadWholeFile(vx::test_support::FixturePath(std::string("tests/catalogue/") + name));
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

TEST(Vxtags, RecipesPrintEveryRequestAsTheFixtureLists) {
  const VxtagsRun run = RunVxtags("recipes");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, Fixture("recipes.expected"));
}

TEST(Vxtags, RecipesWithAFixedOrCancelledColour) {
  // FF8080, the colour the first dialog opens on, appears only as a colour text.
  const VxtagsRun fixed = RunVxtags("recipes --color 12abEF");
  EXPECT_EQ(fixed.status, 0);
  EXPECT_EQ(fixed.output, ReplaceAll(Fixture("recipes.expected"), "FF8080", "12ABEF"));

  const VxtagsRun cancelled = RunVxtags("recipes --cancel");
  EXPECT_EQ(cancelled.status, 0);
  EXPECT_EQ(cancelled.output.find("\n74\t"), std::string::npos);
  EXPECT_NE(cancelled.output.find("\n158\t0\t<TABLE BGCOLOR=\"#\">\n"), std::string::npos);
  EXPECT_NE(cancelled.output.find("\n160\t0\t<TD BGCOLOR=\"#\" SIZE=\"\n160\t1\t\">\n"), std::string::npos);
}

TEST(Vxtags, CataloguePrintsTheTreeInUtf8) {
  const VxtagsRun run = RunVxtags("catalogue");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, Fixture("catalogue.expected"));
}

TEST(Vxtags, BadArgumentsExitWithTwoAndPrintNothing) {
  for (const char* arguments :
       {"recipes --color", "recipes --color 12345", "recipes --color 1234567", "recipes --color GG0000",
        "recipes --cancel --color 123456", "recipes --cancel x", "recipes --colour 123456",
        "catalogue extra", "nonsense"}) {
    const VxtagsRun run = RunVxtags(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.output, "") << arguments;
  }
}

}  // namespace
