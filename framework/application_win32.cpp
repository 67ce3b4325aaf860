// The application: its message loop and the queue of condemned window objects.
#include "framework/framework_win32.h"

TApplication::TApplication(HINSTANCE instance)
    : instance_(instance), mainWindow_(nullptr), condemnedHead_(nullptr) {}

TApplication::~TApplication() {
  DeleteCondemned();
  // Deleting the main window runs Forget, which clears mainWindow_.
  delete mainWindow_;
  DeleteCondemned();
}

HINSTANCE TApplication::GetInstance() const { return instance_; }

void TApplication::SetMainWindow(TWindow* window) {
  mainWindow_ = window;
  if (window && !window->application_) window->application_ = this;
}

TWindow* TApplication::GetMainWindow() const { return mainWindow_; }

bool TApplication::ProcessAppMsg(MSG&) { return false; }

// Messages are taken and dispatched as Unicode, so that a typed character
// reaches a Unicode window (the editor's document) as itself whatever the
// system code page; an ANSI window still receives it converted as before.
void TApplication::Dispatch(MSG& msg) {
  if (!ProcessAppMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool TApplication::DispatchQueued(int& exitCode) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      DeleteCondemned();
      exitCode = static_cast<int>(msg.wParam);
      return false;
    }
    Dispatch(msg);
    DeleteCondemned();
  }
  // Anything condemned by a modal loop's dispatch goes now too.
  DeleteCondemned();
  return true;
}

int TApplication::MessageLoop() {
  int exitCode = 0;
  while (DispatchQueued(exitCode)) WaitMessage();
  return exitCode;
}

bool TApplication::PumpWaitingMessages() {
  int exitCode = 0;
  if (DispatchQueued(exitCode)) return true;
  PostQuitMessage(exitCode);
  return false;
}

bool TApplication::IsCondemned(const TWindow* window) const {
  for (const TWindow* w = condemnedHead_; w; w = w->nextSiblingWindow_) {
    if (w == window) return true;
  }
  return false;
}

void TApplication::Condemn(TWindow* window) {
  if (!window || IsCondemned(window)) return;
  window->Detach();
  // Appended, so objects are deleted in the order they closed.
  TWindow** tail = &condemnedHead_;
  while (*tail) tail = &(*tail)->nextSiblingWindow_;
  window->nextSiblingWindow_ = nullptr;
  *tail = window;
}

void TApplication::DeleteCondemned() {
  while (condemnedHead_) {
    TWindow* window = condemnedHead_;
    condemnedHead_ = window->nextSiblingWindow_;
    window->nextSiblingWindow_ = nullptr;
    delete window;
  }
}

// Called by a dying window so that neither the queue nor mainWindow_ keeps
// pointing at it, whoever deletes it.
void TApplication::Forget(TWindow* window) {
  if (mainWindow_ == window) mainWindow_ = nullptr;
  for (TWindow** link = &condemnedHead_; *link; link = &(*link)->nextSiblingWindow_) {
    if (*link == window) {
      *link = window->nextSiblingWindow_;
      window->nextSiblingWindow_ = nullptr;
      return;
    }
  }
}
