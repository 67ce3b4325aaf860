// TFrameWindow: a top-level window that may carry one client window object.
#include "framework/framework_win32.h"

TFrameWindow::TFrameWindow(TWindow* parent, const char* title, TWindow* client, bool shrinkToClient,
                           HINSTANCE module)
    : TWindow(parent, title), ClientWindow(client), ShrinkToClient(shrinkToClient), Module(module) {
  Attr.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  Attr.ExStyle = 0;
  Attr.X = Attr.Y = Attr.W = Attr.H = CW_USEDEFAULT;
  if (client) {
    client->SetParent(this);
    client->Attr.Style |= WS_CHILD | WS_VISIBLE;
  }
}

TFrameWindow::~TFrameWindow() = default;

TWindow* TFrameWindow::GetClientWindow() const { return HasClient() ? ClientWindow : nullptr; }

HINSTANCE TFrameWindow::GetModule() const {
  if (Module) return Module;
  return GetApplication() ? GetApplication()->GetInstance() : nullptr;
}

// The client is a child object and may have been deleted or adopted elsewhere
// since construction; only the pointer is compared until it is found among the
// children.
bool TFrameWindow::HasClient() const {
  for (TWindow* child = FirstChild(); child; child = child->NextSibling()) {
    if (child == ClientWindow) return ClientWindow != nullptr;
  }
  return false;
}

void TFrameWindow::SetupWindow() {
  TWindow::SetupWindow();
  if (!HasClient() || ClientWindow->GetHandle()) return;
  HWND frame = GetHandle();
  if (ShrinkToClient) {
    RECT want{0, 0, ClientWindow->Attr.W, ClientWindow->Attr.H};
    AdjustWindowRectEx(&want, Attr.Style, GetMenu(frame) != nullptr, Attr.ExStyle);
    SetWindowPos(frame, nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client;
  GetClientRect(frame, &client);
  ClientWindow->Attr.X = 0;
  ClientWindow->Attr.Y = 0;
  ClientWindow->Attr.W = client.right;
  ClientWindow->Attr.H = client.bottom;
  ClientWindow->Create();
}

LRESULT TFrameWindow::EvSize(WPARAM sizeType, LPARAM size) {
  TWindow::EvSize(sizeType, size);
  if (HasClient() && ClientWindow->GetHandle()) {
    MoveWindow(ClientWindow->GetHandle(), 0, 0, LOWORD(size), HIWORD(size), TRUE);
  }
  return 0;
}

const TResponseTable& TFrameWindow::Responses() const { return ResponseTable(); }

const TResponseTable& TFrameWindow::ResponseTable() {
  static constexpr TResponseEntry rows[] = {
      {WM_SIZE, Respond<&TFrameWindow::EvSize>},
  };
  static constexpr TResponseTable table{rows, sizeof rows / sizeof rows[0], &TWindow::ResponseTable};
  return table;
}
