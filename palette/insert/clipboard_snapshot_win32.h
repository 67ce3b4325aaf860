// A copy of everything on the clipboard that can be copied, so that the
// user's clipboard can be put back after a paste. Global-memory formats are
// copied byte for byte, bitmaps, palettes and metafiles as new objects; a
// private format (CF_PRIVATEFIRST..CF_PRIVATELAST, CF_GDIOBJFIRST..
// CF_GDIOBJLAST) and CF_OWNERDISPLAY hold handles only their owner can read,
// and are counted as lost.
#pragma once
#include <windows.h>
#include <cstddef>
#include <vector>

namespace vxpalette {

class ClipboardSnapshot {
 public:
  ClipboardSnapshot() = default;
  ClipboardSnapshot(const ClipboardSnapshot&) = delete;
  ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;
  ~ClipboardSnapshot();

  // The clipboard must be open.
  void TakeFromOpenClipboard();
  // The clipboard must be open by its owner and emptied; the copies then
  // belong to the clipboard.
  void PutIntoOpenClipboard();
  std::size_t FormatsNotCopied() const { return notCopied_; }

 private:
  struct Item {
    UINT format;
    HANDLE handle;
  };
  std::vector<Item> items_;
  std::size_t notCopied_ = 0;
};

}  // namespace vxpalette
