// The palette's application: its loop sees Esc in the tag tree before
// dispatch and returns to the target, so that the tree's own procedure stays
// as the add-in made it.
#pragma once
#include <windows.h>

#include "framework/framework_win32.h"

namespace vxpalette {

class TPaletteApplication : public TApplication {
 public:
  using TApplication::TApplication;

 protected:
  bool ProcessAppMsg(MSG& msg) override;
};

}  // namespace vxpalette
