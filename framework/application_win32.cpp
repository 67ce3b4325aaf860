// The application: its message loop and the queue of condemned window objects.
#include "framework/framework_win32.h"

TApplication::TApplication(HINSTANCE instance)
    : Instance(instance), MainWindow(nullptr), CondemnedHead(nullptr) {}

TApplication::~TApplication() {
  DeleteCondemned();
  // Deleting the main window runs Forget, which clears MainWindow.
  delete MainWindow;
  DeleteCondemned();
}

HINSTANCE TApplication::GetInstance() const { return Instance; }

void TApplication::SetMainWindow(TWindow* window) {
  MainWindow = window;
  if (window && !window->Application) window->Application = this;
}

TWindow* TApplication::GetMainWindow() const { return MainWindow; }

bool TApplication::ProcessAppMsg(MSG&) { return false; }

void TApplication::Dispatch(MSG& msg) {
  if (!ProcessAppMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int TApplication::MessageLoop() {
  MSG msg;
  for (;;) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        DeleteCondemned();
        return static_cast<int>(msg.wParam);
      }
      Dispatch(msg);
      DeleteCondemned();
    }
    // Idle: anything condemned by a modal loop's dispatch goes now.
    DeleteCondemned();
    WaitMessage();
  }
}

bool TApplication::PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      DeleteCondemned();
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    Dispatch(msg);
    DeleteCondemned();
  }
  DeleteCondemned();
  return true;
}

bool TApplication::IsCondemned(const TWindow* window) const {
  for (const TWindow* w = CondemnedHead; w; w = w->NextSiblingWindow) {
    if (w == window) return true;
  }
  return false;
}

void TApplication::Condemn(TWindow* window) {
  if (!window || IsCondemned(window)) return;
  window->Detach();
  // Appended, so objects are deleted in the order they closed.
  TWindow** tail = &CondemnedHead;
  while (*tail) tail = &(*tail)->NextSiblingWindow;
  window->NextSiblingWindow = nullptr;
  *tail = window;
}

void TApplication::DeleteCondemned() {
  while (CondemnedHead) {
    TWindow* window = CondemnedHead;
    CondemnedHead = window->NextSiblingWindow;
    window->NextSiblingWindow = nullptr;
    delete window;
  }
}

// Called by a dying window so that neither the queue nor MainWindow keeps
// pointing at it, whoever deletes it.
void TApplication::Forget(TWindow* window) {
  if (MainWindow == window) MainWindow = nullptr;
  for (TWindow** link = &CondemnedHead; *link; link = &(*link)->NextSiblingWindow) {
    if (*link == window) {
      *link = window->NextSiblingWindow;
      window->NextSiblingWindow = nullptr;
      return;
    }
  }
}
