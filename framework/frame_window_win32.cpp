// TFrameWindow: a top-level window that may carry one client window object.
#include "framework/framework_win32.h"

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* client, bool shrinkToClient,
                           HINSTANCE module)
    : TWindow(parent, title), clientWindow_(client), shrinkToClient_(shrinkToClient), module_(module) {
  attr.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  attr.exStyle = 0;
  attr.x = attr.y = attr.w = attr.h = CW_USEDEFAULT;
  if (client) {
    client->SetParent(this);
    client->attr.style |= WS_CHILD | WS_VISIBLE;
  }
}

TFrameWindow::~TFrameWindow() = default;

TWindow* TFrameWindow::GetClientWindow() const { return HasClient() ? clientWindow_ : nullptr; }

HINSTANCE TFrameWindow::GetModule() const {
  if (module_) return module_;
  return GetApplication() ? GetApplication()->GetInstance() : nullptr;
}

// The client is a child object and may have been deleted or adopted elsewhere
// since construction; only the pointer is compared until it is found among the
// children.
bool TFrameWindow::HasClient() const {
  for (TWindow* child = FirstChild(); child; child = child->NextSibling()) {
    if (child == clientWindow_) return clientWindow_ != nullptr;
  }
  return false;
}

void TFrameWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (!HasClient() || clientWindow_->GetHandle()) return;
  HWND frame = GetHandle();
  if (shrinkToClient_) {
    RECT want{0, 0, clientWindow_->attr.w, clientWindow_->attr.h};
    AdjustWindowRectEx(&want, attr.style, GetMenu(frame) != nullptr, attr.exStyle);
    SetWindowPos(frame, nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client;
  GetClientRect(frame, &client);
  clientWindow_->attr.x = 0;
  clientWindow_->attr.y = 0;
  clientWindow_->attr.w = client.right;
  clientWindow_->attr.h = client.bottom;
  clientWindow_->Create();
}

LRESULT TFrameWindow::EvSize(WPARAM sizeType, LPARAM size) {
  DispatchFrom(TWindow::ResponseTable(), WM_SIZE, sizeType, size);
  if (HasClient() && clientWindow_->GetHandle()) {
    MoveWindow(clientWindow_->GetHandle(), 0, 0, LOWORD(size), HIWORD(size), TRUE);
  }
  return 0;
}

const TResponseTable& TFrameWindow::Responses() const { return ResponseTable(); }

const TResponseTable& TFrameWindow::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_SIZE, Respond<&TFrameWindow::EvSize>},
  };
  static constexpr TResponseTable TABLE{ROWS, sizeof ROWS / sizeof ROWS[0], &TWindow::ResponseTable};
  return TABLE;
}
