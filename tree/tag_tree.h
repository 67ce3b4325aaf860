// Construction of the tag tree's items, platform-free over a TreePort.
#pragma once
#include <cstdint>

#include "catalogue/catalogue.h"
#include "deffile/definition_loader.h"  // ByteSource
#include "tree/tree_port.h"

namespace vx {

// Image indices and category items of one tag tree, kept by its tag window.
struct TagTreeContext {
  std::int32_t imageHome;           // HTML0
  std::int32_t imageFolder;         // HTMLP
  std::int32_t imageTag;            // HTMLC
  std::int32_t imageFolderSelected; // HTMLSP
  std::int32_t imageTagSelected;    // HTMLSC
  TreeItem categoryItems[CATEGORY_COUNT];
};

// Loads category caption k (string resource 5002 + k) into a 60-byte buffer;
// a caption that cannot be loaded is the empty text.
using CategoryCaptionLoader = void (*)(int category, char* buffer60, void* context);

// Selected image of an item shown with image.
std::int32_t SelectedImageFor(const TagTreeContext& ctx, std::int32_t image);

// Categories, catalogue entries and the user items of definitionPath (may be empty).
void FillTagTreeItems(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                      void* captionContext, const char* definitionPath);
// The same with the definition file's bytes from a source, for a
// caller that must read its file only once.
void FillTagTreeItemsFromSource(TagTreeContext& ctx, TreePort& tree, CategoryCaptionLoader captions,
                                void* captionContext, ByteSource& definition);

}  // namespace vx
