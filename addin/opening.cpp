#include "addin/opening.h"

#include <cstring>

namespace vx {

OpeningAction DecideOpening(const OpeningState& state) {
  if (!state.hostWindowGiven) {
    // A close request during an opening finds nothing open yet, as the flag says.
    return state.tagWindowOpen && state.frameExists ? OpeningAction::Close
                                                    : OpeningAction::NothingToDo;
  }
  if (state.openingInProgress) return OpeningAction::RefuseNested;
  if (!state.tagWindowOpen) return OpeningAction::Open;
  if (!state.frameExists) return OpeningAction::NoFrameLeft;
  return state.focusOnFrame ? OpeningAction::Beep : OpeningAction::FocusFrame;
}

bool OpeningResult(OpeningAction action) {
  switch (action) {
    case OpeningAction::Beep:
    case OpeningAction::FocusFrame:
    case OpeningAction::NoFrameLeft:
    case OpeningAction::RefuseNested:
      return false;
    case OpeningAction::Close:
    case OpeningAction::NothingToDo:
    case OpeningAction::Open:
      break;
  }
  return true;
}

bool StoreDefinitionPath(char (&buffer)[DEFINITION_PATH_SIZE], const char* path) {
  buffer[0] = '\0';
  if (path == nullptr) return false;
  std::size_t length = 0;
  while (length < DEFINITION_PATH_SIZE && path[length] != '\0') ++length;
  if (length == DEFINITION_PATH_SIZE) return false;
  std::memcpy(buffer, path, length + 1);
  return true;
}

}  // namespace vx
