// Insertion recipes: every tag id's run of insert requests.
#pragma once
#include <cstdint>

namespace vx {

inline constexpr int RECIPE_BUFFER_SIZE = 1000;

enum class RecipeOutcome {
  Done,       // the recipe ran, whatever it sent (a cancelled colour may send nothing)
  Abandoned,  // the tree that asked went away during the colour dialog: nothing
              // was sent and nothing may follow
};

// userText non-null: one InsertDefinitionText with userText itself, tagId unused.
// Otherwise the recipe of tagId; ids outside 0..176 and group ids send nothing.
RecipeOutcome RunInsertionRecipe(std::int32_t tagId, const char* userText);

// What tagId's recipe inserts, as one text for showing and finding it: the
// texts of its requests in order, each line end as LF, a colour left empty.
// The empty text for groups and ids outside 0..176. Sends nothing.
void DescribeRecipe(std::int32_t tagId, char (&text)[RECIPE_BUFFER_SIZE]);

}  // namespace vx
