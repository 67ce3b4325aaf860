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

// The bytes a category caption may take, its terminating zero included.
inline constexpr int CAPTION_BUFFER_SIZE = 60;

// Loads category caption k (string resource 5002 + k) into a buffer of
// CAPTION_BUFFER_SIZE bytes; a caption that cannot be loaded is the empty text.
using CategoryCaptionLoader = void (*)(int category, char* buffer, void* context);

// The captions of the catalogue's own table (CATEGORY_CAPTIONS), for a tree
// built where there are no string resources; context unused.
void LoadCatalogueCaption(int category, char* buffer, void* context);

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
