// Every recipe against recipes.expected (transcribed by hand from the recipe
// tables, in the vxtags recipes line format), and the paths it cannot show:
// cancelled colours, user texts, ids that send nothing, the shared buffer.
#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "catalogue/recipes.h"
#include "tests/catalogue/color_state_guard.h"
#include "tests/catalogue/fixture_file.h"

namespace {

using vx::fakes::Insert;
using vx::fakes::RecordedHostEvents;
using vx::test_support::ReadFixtureRecords;
using vx::fakes::RecordedInserts;
using vx::fakes::SentInsert;
using Inserts = std::vector<SentInsert>;

const std::set<int> COLOR_TAG_IDS = {16, 74, 75, 76, 77, 78, 158, 159, 160, 166, 167};

class Recipes : public vx::test_support::ColorStateGuard {
 protected:
  Inserts Run(std::int32_t tagId, const char* userText = nullptr) {
    vx::fakes::ClearRecordedHost();
    vx::RunInsertionRecipe(tagId, userText);
    return RecordedInserts();
  }
};

TEST_F(Recipes, EveryTagIdSendsItsPublishedSequence) {
  std::map<int, Inserts> expected;
  for (const auto& record : ReadFixtureRecords("tests/catalogue/recipes.expected"))
    expected[std::stoi(record.at(0))].push_back({std::stoi(record.at(1)), record.at(2)});
  ASSERT_EQ(expected.size(), 177u - 29u);

  for (std::int32_t tagId = 0; tagId < vx::TAG_COUNT; ++tagId) {
    vx::fakes::ResetScriptedColorDialog();
    vx::fakes::ScriptColorDialogAccept(vx::MakeColorRef(0xFF, 0x80, 0x80));
    const auto listed = expected.find(tagId);
    // Group entries are the ids the fixture leaves out.
    EXPECT_EQ(listed == expected.end(), vx::IsGroupEntry(tagId)) << "tag " << tagId;
    EXPECT_EQ(Run(tagId), listed == expected.end() ? Inserts{} : listed->second) << "tag " << tagId;
    const std::size_t dialogs = COLOR_TAG_IDS.count(tagId);
    EXPECT_EQ(vx::fakes::ColorDialogOpenings().size(), dialogs) << "tag " << tagId;
  }
}

TEST_F(Recipes, ChosenColourGoesBetweenPrefixAndSuffix) {
  vx::fakes::ScriptColorDialogAccept(vx::MakeColorRef(0x12, 0xAB, 0xEF));
  EXPECT_EQ(Run(74), (Inserts{Insert(vx::InsertLead, "<BODY TEXT=\"#12ABEF\">")}));
  vx::fakes::ScriptColorDialogAccept(vx::MakeColorRef(0x0C, 0x0B, 0x0A));
  EXPECT_EQ(Run(160), (Inserts{Insert(vx::InsertLead, "<TD BGCOLOR=\"#0C0B0A\" SIZE=\""), Insert(vx::InsertTrail, "\">")}));
}

TEST_F(Recipes, CancelledColourSendsNothingOrAnEmptyColourByKind) {
  for (int tagId : {16, 74, 75, 76, 77, 78}) {
    vx::fakes::ScriptColorDialogCancel();
    EXPECT_EQ(Run(tagId), Inserts{}) << "tag " << tagId;
  }
  const std::map<int, Inserts> emptyColour = {
      {158, {Insert(vx::InsertLead, "<TABLE BGCOLOR=\"#\">")}},
      {159, {Insert(vx::InsertLead, "<TH BGCOLOR=\"#\">")}},
      {166, {Insert(vx::InsertLead, "<FRAMESET BOEDERCOLOR=\"#\">")}},
      {167, {Insert(vx::InsertLead, "<FRAME BOEDERCOLOR=\"#\">")}},
      {160, {Insert(vx::InsertLead, "<TD BGCOLOR=\"#\" SIZE=\""), Insert(vx::InsertTrail, "\">")}},
  };
  for (const auto& [tagId, expected] : emptyColour) {
    vx::fakes::ScriptColorDialogCancel();
    EXPECT_EQ(Run(tagId), expected) << "tag " << tagId;
  }
  EXPECT_EQ(vx::fakes::ColorDialogOpenings().size(), 11u);
}

TEST_F(Recipes, UserTextIsSentItselfWhateverTheTagId) {
  const char text[] = "<DIV CLASS=\"note\">\x81\x40</DIV>";
  for (std::int32_t tagId : {0, 19, 74, 2999, -2}) {
    EXPECT_EQ(Run(tagId, text), (Inserts{Insert(vx::InsertDefinitionText, text)})) << "tag " << tagId;
    EXPECT_EQ(RecordedHostEvents().at(0).textAddress, text);
  }
  EXPECT_EQ(Run(19, ""), (Inserts{Insert(vx::InsertDefinitionText, "")}));
  EXPECT_TRUE(vx::fakes::ColorDialogOpenings().empty());
}

TEST_F(Recipes, IdsOutsideTheCatalogueAndGroupIdsSendNothing) {
  for (std::int32_t tagId : {-1, -2, INT32_MIN, 177, 178, INT32_MAX, 5, 46, 68})
    EXPECT_EQ(Run(tagId), Inserts{}) << "tag " << tagId;
  EXPECT_TRUE(vx::fakes::ColorDialogOpenings().empty());
}

// Nothing is allocated per insertion: every request of a recipe points at one
// buffer, and a line end finds there the line it ends.
TEST_F(Recipes, AllRequestsOfOneRecipeShareOneBuffer) {
  for (std::int32_t tagId : {0, 54, 19, 42, 160}) {
    vx::fakes::ScriptColorDialogCancel();
    Run(tagId);
    const auto& events = RecordedHostEvents();
    ASSERT_FALSE(events.empty()) << "tag " << tagId;
    for (const auto& event : events) EXPECT_EQ(event.textAddress, events.front().textAddress);
  }
  const Inserts document = Run(0);
  ASSERT_EQ(document.size(), 16u);
  for (std::size_t i = 1; i < document.size(); ++i) {
    if (document[i].code == vx::InsertLineEnd) {
      EXPECT_EQ(document[i].text, document[i - 1].text);
    }
  }
  const Inserts frames = Run(54);
  for (std::size_t i = 1; i < frames.size(); ++i)
    EXPECT_FALSE(frames[i].code == vx::InsertLineEnd && frames[i - 1].code == vx::InsertLineEnd);
}

// What the filter shows and searches for an entry is what its recipe sends:
// the texts in order, a line end as LF, an accepted colour left empty.
TEST_F(Recipes, TheDescriptionOfEveryRecipeIsTheTextItSends) {
  for (std::int32_t tagId = -1; tagId <= vx::TAG_COUNT; ++tagId) {
    std::string sent;
    vx::fakes::ResetScriptedColorDialog();
    vx::fakes::ScriptColorDialogAccept(vx::MakeColorRef(0xAB, 0xCD, 0xEF));
    for (const SentInsert& insert : Run(tagId))
      sent += insert.code == vx::InsertLineEnd ? std::string("\n") : insert.text;
    const std::size_t colour = sent.find("ABCDEF");
    if (colour != std::string::npos) sent.erase(colour, 6);
    char described[vx::RECIPE_BUFFER_SIZE];
    vx::DescribeRecipe(tagId, described);
    EXPECT_EQ(described, sent) << "tag " << tagId;
  }
}

}  // namespace
