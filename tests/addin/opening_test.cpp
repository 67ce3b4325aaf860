#include "addin/opening.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vx {
namespace {

OpeningState Host(bool open, bool frameExists, bool focusOnFrame) {
  return OpeningState{true, open, false, frameExists, focusOnFrame};
}

TEST(DecideOpening, FollowsTheTagWindowsLifecycle) {
  EXPECT_EQ(DecideOpening(Host(false, false, false)), OpeningAction::Open);
  EXPECT_EQ(DecideOpening(Host(true, true, false)), OpeningAction::FocusFrame);
  EXPECT_EQ(DecideOpening(Host(true, true, true)), OpeningAction::Beep);
  // Closing: the object waits for deletion and has no window to focus or beep at,
  // even when no window has the focus and the handles would compare equal.
  EXPECT_EQ(DecideOpening(Host(true, false, true)), OpeningAction::NoFrameLeft);

  EXPECT_EQ(DecideOpening({false, true, false, true, false}), OpeningAction::Close);
  EXPECT_EQ(DecideOpening({false, true, false, false, false}), OpeningAction::NothingToDo);
  EXPECT_EQ(DecideOpening({false, false, false, false, false}), OpeningAction::NothingToDo);
}

TEST(DecideOpening, AnOpeningInsideAnOpeningIsRefused) {
  // The set-up's message box runs the host's messages before the open flag is set.
  EXPECT_EQ(DecideOpening({true, false, true, true, false}), OpeningAction::RefuseNested);
  EXPECT_FALSE(OpeningResult(OpeningAction::RefuseNested));
  EXPECT_EQ(DecideOpening({false, false, true, true, false}), OpeningAction::NothingToDo);
}

TEST(StoreDefinitionPath, KeepsWholePathsAndNothingElse) {
  char buffer[DEFINITION_PATH_SIZE];
  std::memset(buffer, 'x', sizeof buffer);

  const std::string longest(299, 'a');
  EXPECT_TRUE(StoreDefinitionPath(buffer, longest.c_str()));
  EXPECT_EQ(std::string(buffer), longest);

  EXPECT_TRUE(StoreDefinitionPath(buffer, ""));
  EXPECT_STREQ(buffer, "");

  // The earlier path must not survive a refused one.
  EXPECT_TRUE(StoreDefinitionPath(buffer, "C:\\tags.txt"));
  EXPECT_FALSE(StoreDefinitionPath(buffer, nullptr));
  EXPECT_STREQ(buffer, "");

  EXPECT_TRUE(StoreDefinitionPath(buffer, "C:\\tags.txt"));
  const std::string tooLong(300, 'b');
  EXPECT_FALSE(StoreDefinitionPath(buffer, tooLong.c_str()));
  EXPECT_STREQ(buffer, "");
}

TEST(StoreDefinitionPath, NeverReadsPastTheBufferSize) {
  // An unterminated 300-byte argument: under ASan a read of byte 300 faults.
  char* unterminated = new char[DEFINITION_PATH_SIZE];
  std::memset(unterminated, 'c', DEFINITION_PATH_SIZE);
  char buffer[DEFINITION_PATH_SIZE];
  EXPECT_FALSE(StoreDefinitionPath(buffer, unterminated));
  EXPECT_STREQ(buffer, "");
  delete[] unterminated;
}

}  // namespace
}  // namespace vx
