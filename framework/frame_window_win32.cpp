// TFrameWindow: a top-level window with caption and sizing border.
#include "framework/framework_win32.h"

TFrameWindow::TFrameWindow(TWindow* parent, const char* title) : TWindow(parent, title) {
  attr.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  attr.exStyle = 0;
  attr.x = attr.y = attr.w = attr.h = CW_USEDEFAULT;
}

TFrameWindow::~TFrameWindow() = default;

// A frame answers as any window does; derived classes name this table as
// their base all the same, so a frame may gain rows without touching them.
const TResponseTable& TFrameWindow::ResponseTable() { return TWindow::ResponseTable(); }
