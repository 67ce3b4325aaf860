// TWindow: the binding of one object to one native window, the default window
// class, the window procedure and response-table dispatch.
#include <cstring>

#include "framework/framework_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const char kClassName[] = "VxFrameWindow";

// The class belongs to vxframe.dll, whose procedure it names, whichever module
// creates the first window.
HINSTANCE FrameworkInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

char* CopyText(const char* text) {
  if (!text) return nullptr;
  std::size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

}  // namespace

struct TWindowProcedure {
  static bool RegisterDefaultClass();
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

bool TWindowProcedure::RegisterDefaultClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(FrameworkInstance(), kClassName, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = FrameworkInstance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

LRESULT CALLBACK TWindowProcedure::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (auto* window = static_cast<TWindow*>(create->lpCreateParams)) window->Attach(hwnd);
  }
  auto* window = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO), and those of a window
  // whose object is gone, get the default handling.
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);

  LRESULT result = window->HandleMessage(message, wParam, lParam);
  if (message == WM_CREATE && result != -1 && !window->SetupDone) {
    window->SetupDone = true;
    window->SetupWindow();
  } else if (message == WM_NCDESTROY) {
    window->ReleaseHandle();
  }
  return result;
}

TWindow::TWindow(TWindow* parent, const char* title, TApplication* app)
    : Attr{WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, 0, nullptr},
      Handle(nullptr),
      ParentWindow(nullptr),
      Application(app),
      Title(CopyText(title)),
      FirstChildWindow(nullptr),
      NextSiblingWindow(nullptr),
      SetupDone(false),
      WindowMade(false) {
  SetParent(parent);
}

TWindow::~TWindow() {
  // From here on the native window's messages no longer reach this object,
  // whose derived parts are already gone.
  HWND handle = Handle;
  if (handle) SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
  Handle = nullptr;
  while (FirstChildWindow) delete FirstChildWindow;  // each child unlinks itself
  Detach();
  if (Application) Application->Forget(this);
  if (handle && IsWindow(handle)) DestroyWindow(handle);
  delete[] Title;
}

HWND TWindow::GetHandle() const { return Handle; }
bool TWindow::HadWindow() const { return WindowMade; }
TWindow* TWindow::Parent() const { return ParentWindow; }
TApplication* TWindow::GetApplication() const { return Application; }
const char* TWindow::GetTitle() const { return Title ? Title : ""; }
TWindow* TWindow::FirstChild() const { return FirstChildWindow; }
TWindow* TWindow::NextSibling() const { return ParentWindow ? NextSiblingWindow : nullptr; }
const char* TWindow::DefaultClassName() { return kClassName; }

void TWindow::SetParent(TWindow* parent) {
  if (parent == ParentWindow) return;
  Detach();
  if (!parent) return;
  if (Application) Application->Forget(this);  // a condemned object that is adopted lives on
  ParentWindow = parent;
  parent->AddChild(this);
  if (!Application) Application = parent->Application;
}

void TWindow::AddChild(TWindow* child) {
  TWindow** tail = &FirstChildWindow;
  while (*tail) tail = &(*tail)->NextSiblingWindow;
  child->NextSiblingWindow = nullptr;
  *tail = child;
}

void TWindow::RemoveChild(TWindow* child) {
  for (TWindow** link = &FirstChildWindow; *link; link = &(*link)->NextSiblingWindow) {
    if (*link == child) {
      *link = child->NextSiblingWindow;
      child->NextSiblingWindow = nullptr;
      return;
    }
  }
}

void TWindow::Detach() {
  if (!ParentWindow) return;
  ParentWindow->RemoveChild(this);
  ParentWindow = nullptr;
}

void TWindow::Attach(HWND handle) {
  Handle = handle;
  WindowMade = true;
  SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWindow::ReleaseHandle() {
  if (Handle) SetWindowLongPtrA(Handle, GWLP_USERDATA, 0);
  Handle = nullptr;
  SetupDone = false;  // a later Create makes a new native window, set up afresh
}

bool TWindow::Create() {
  if (Handle || !TWindowProcedure::RegisterDefaultClass()) return false;
  HWND parentHandle = ParentWindow ? ParentWindow->Handle : nullptr;
  HMENU menu = (Attr.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.Id)) : Attr.Menu;
  HWND handle = CreateWindowExA(Attr.ExStyle, kClassName, GetTitle(), Attr.Style, Attr.X, Attr.Y, Attr.W,
                                Attr.H, parentHandle, menu, FrameworkInstance(), this);
  return handle != nullptr && Handle == handle;
}

bool TWindow::CanClose() { return true; }

bool TWindow::CloseWindow() {
  if (!CanClose()) return false;
  if (Handle) DestroyWindow(Handle);
  if (Application) Application->Condemn(this);
  return true;
}

void TWindow::SetupWindow() {}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchFrom(Responses(), message, wParam, lParam);
}

LRESULT TWindow::DispatchFrom(const TResponseTable& table, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const TResponseTable* t = &table; t; t = t->Base ? &t->Base() : nullptr) {
    for (std::size_t i = 0; i < t->Count; ++i) {
      if (t->Entries[i].Message == message) return t->Entries[i].Handler(*this, wParam, lParam);
    }
  }
  return DefaultProcessing(message, wParam, lParam);
}

LRESULT TWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  return Handle ? DefWindowProcA(Handle, message, wParam, lParam) : 0;
}

// Only the normal placement is tracked, so that a window closed while
// minimised or maximised reopens where the user last had it.
LRESULT TWindow::EvMove(WPARAM, LPARAM) {
  RECT r;
  if (!Handle || IsIconic(Handle) || IsZoomed(Handle) || !GetWindowRect(Handle, &r)) return 0;
  POINT corner{r.left, r.top};
  HWND parent = GetParent(Handle);
  if ((GetWindowLongPtrA(Handle, GWL_STYLE) & WS_CHILD) && parent) ScreenToClient(parent, &corner);
  Attr.X = corner.x;
  Attr.Y = corner.y;
  return 0;
}

LRESULT TWindow::EvSize(WPARAM sizeType, LPARAM) {
  RECT r;
  if (!Handle || sizeType != SIZE_RESTORED || !GetWindowRect(Handle, &r)) return 0;
  Attr.W = r.right - r.left;
  Attr.H = r.bottom - r.top;
  return 0;
}

LRESULT TWindow::EvClose(WPARAM, LPARAM) {
  CloseWindow();
  return 0;
}

LRESULT TWindow::EvDestroy(WPARAM, LPARAM) {
  if (Application && Application->GetMainWindow() == this) PostQuitMessage(0);
  return 0;
}

const TResponseTable& TWindow::Responses() const { return ResponseTable(); }

const TResponseTable& TWindow::ResponseTable() {
  static constexpr TResponseEntry rows[] = {
      {WM_MOVE, Respond<&TWindow::EvMove>},
      {WM_SIZE, Respond<&TWindow::EvSize>},
      {WM_CLOSE, Respond<&TWindow::EvClose>},
      {WM_DESTROY, Respond<&TWindow::EvDestroy>},
  };
  static constexpr TResponseTable table{rows, sizeof rows / sizeof rows[0], nullptr};
  return table;
}
