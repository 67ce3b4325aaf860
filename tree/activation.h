// NewHTProc's decisions, platform-free over a TreePort.
#pragma once
#include <cstdint>

#include "tree/tree_port.h"

namespace vx {

enum class ActivationTrigger { Enter, DoubleClick };

inline constexpr std::int32_t CATALOGUE_NOT_FOUND = -1;

// Tag id whose treeItem is item, or CATALOGUE_NOT_FOUND.
std::int32_t FindCatalogueEntry(TreeItem item);

std::intptr_t ActivateTreeItem(TreePort& tree, TreeItem item, ActivationTrigger trigger,
                               unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// The whole of NewHTProc against a port.
std::intptr_t HandleTreeMessage(TreePort& tree, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam);

}  // namespace vx
