// What one call of CreateHtmlWindow does, decided without the window system,
// and the copy of the definition path that an opening keeps.
#pragma once
#include <cstddef>

namespace vx {

inline constexpr std::size_t DEFINITION_PATH_SIZE = 300;

enum class OpeningAction {
  Close,         // no host window, tag window open: send it WM_CLOSE
  NothingToDo,   // no host window, nothing open
  Beep,          // already open and its frame holds the focus
  FocusFrame,    // already open, the focus is elsewhere
  NoFrameLeft,   // already open but closing: its window is gone, the object not yet deleted
  RefuseNested,  // asked for from inside an opening (the set-up's message box loop)
  Open,
};

struct OpeningState {
  bool hostWindowGiven;
  bool tagWindowOpen;      // TagWindowOpen
  bool openingInProgress;  // between the start of an opening and TagWindowOpen
  bool frameExists;        // the tag window's native window still exists
  bool focusOnFrame;       // GetFocus() is that window
};

OpeningAction DecideOpening(const OpeningState& state);

// The result CreateHtmlWindow reports for an action: false only when a tag
// window (or an opening of one) already exists.
bool OpeningResult(OpeningAction action);

// Copies path into buffer. A null path, or one that with its terminating zero
// does not fit, is kept as the empty path: a cut path would name another file.
// Reads at most DEFINITION_PATH_SIZE bytes of path. Returns false when refused.
bool StoreDefinitionPath(char (&buffer)[DEFINITION_PATH_SIZE], const char* path);

}  // namespace vx
