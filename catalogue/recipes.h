// Insertion recipes: every tag id's run of insert requests.
#pragma once
#include <cstdint>

namespace vx {

inline constexpr int RECIPE_BUFFER_SIZE = 1000;
inline constexpr int COLOR_TEXT_SIZE = 100;

// userText non-null: one InsertDefinitionText with userText itself, tagId unused.
// Otherwise the recipe of tagId; ids outside 0..176 and group ids send nothing.
// Returns false when the activation was abandoned during its colour dialog
// (the tree that asked is gone): then nothing was sent and nothing may follow.
bool RunInsertionRecipe(std::int32_t tagId, const char* userText);

}  // namespace vx
