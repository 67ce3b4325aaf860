// Shared set-up of the tag tree tests: a model tree filled the way the tag
// window fills its control, and definition files written on the fly. The
// tests on a real control use it for the items they expect to read back.
#pragma once
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "deffile/definition_loader.h"
#include "tree/model_tree.h"
#include "tree/tag_tree.h"

namespace vx::test_support {

// The indices a full image list gives: HTML0 0, HTMLP 1, HTMLSP 3, HTMLC 5, HTMLSC 7.
inline TagTreeContext ContextWithImages() {
  TagTreeContext ctx{};
  ctx.imageHome = 0;
  ctx.imageFolder = 1;
  ctx.imageFolderSelected = 3;
  ctx.imageTag = 5;
  ctx.imageTagSelected = 7;
  return ctx;
}

// A definition file in the temporary folder with the header line and then body.
class DefinitionFile {
 public:
  // Named after the running test, so tests run in parallel never share a file.
  explicit DefinitionFile(const std::string& body)
      : path_(std::string(::testing::TempDir()) + "vx_tree_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt") {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    std::fputs(DEFINITION_HEADER, file);
    std::fputs("\n", file);
    std::fputs(body.c_str(), file);
    std::fclose(file);
  }
  ~DefinitionFile() { std::remove(path_.c_str()); }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
};

inline void FillModel(TagTreeContext& ctx, ModelTree& tree, const char* definitionPath = "") {
  FillTagTreeItems(ctx, tree, LoadCatalogueCaption, nullptr, definitionPath);
}

}  // namespace vx::test_support
