// TWindow: the binding of one object to one native window, the default window
// class, the window procedure and response-table dispatch.
#include <cstring>

#include "framework/framework_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const char CLASS_NAME[] = "VxFrameWindow";

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
  if (GetClassInfoA(FrameworkInstance(), CLASS_NAME, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = FrameworkInstance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = CLASS_NAME;
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
  if (message == WM_CREATE && result != -1 && !window->setupDone_) {
    window->setupDone_ = true;
    window->SetupWindow();
  } else if (message == WM_NCDESTROY) {
    window->ReleaseHandle();
  }
  return result;
}

TWindow::TWindow(TWindow* parent, const char* title, TApplication* app)
    : attr{WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0, 0, nullptr},
      handle_(nullptr),
      parentWindow_(nullptr),
      application_(app),
      title_(CopyText(title)),
      firstChildWindow_(nullptr),
      nextSiblingWindow_(nullptr),
      setupDone_(false),
      windowMade_(false) {
  SetParent(parent);
}

TWindow::~TWindow() {
  // From here on the native window's messages no longer reach this object,
  // whose derived parts are already gone.
  HWND handle = handle_;
  if (handle) SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
  handle_ = nullptr;
  while (firstChildWindow_) delete firstChildWindow_;  // each child unlinks itself
  Detach();
  if (application_) application_->Forget(this);
  if (handle && IsWindow(handle)) DestroyWindow(handle);
  delete[] title_;
}

HWND TWindow::GetHandle() const { return handle_; }
bool TWindow::HadWindow() const { return windowMade_; }
TApplication* TWindow::GetApplication() const { return application_; }
const char* TWindow::GetTitle() const { return title_ ? title_ : ""; }
TWindow* TWindow::FirstChild() const { return firstChildWindow_; }
TWindow* TWindow::NextSibling() const { return parentWindow_ ? nextSiblingWindow_ : nullptr; }
const char* TWindow::DefaultClassName() { return CLASS_NAME; }

void TWindow::SetParent(TWindow* parent) {
  if (parent == parentWindow_) return;
  Detach();
  if (!parent) return;
  if (application_) application_->Forget(this);  // a condemned object that is adopted lives on
  parentWindow_ = parent;
  parent->AddChild(this);
  if (!application_) application_ = parent->application_;
}

void TWindow::AddChild(TWindow* child) {
  TWindow** tail = &firstChildWindow_;
  while (*tail) tail = &(*tail)->nextSiblingWindow_;
  child->nextSiblingWindow_ = nullptr;
  *tail = child;
}

void TWindow::RemoveChild(TWindow* child) {
  for (TWindow** link = &firstChildWindow_; *link; link = &(*link)->nextSiblingWindow_) {
    if (*link == child) {
      *link = child->nextSiblingWindow_;
      child->nextSiblingWindow_ = nullptr;
      return;
    }
  }
}

void TWindow::Detach() {
  if (!parentWindow_) return;
  parentWindow_->RemoveChild(this);
  parentWindow_ = nullptr;
}

void TWindow::Attach(HWND handle) {
  handle_ = handle;
  windowMade_ = true;
  SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWindow::ReleaseHandle() {
  if (handle_) SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
  setupDone_ = false;  // a later Create makes a new native window, set up afresh
}

bool TWindow::Create() {
  if (handle_ || !TWindowProcedure::RegisterDefaultClass()) return false;
  HWND parentHandle = parentWindow_ ? parentWindow_->handle_ : nullptr;
  HMENU menu = (attr.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(attr.id)) : attr.menu;
  HWND handle = CreateWindowExA(attr.exStyle, CLASS_NAME, GetTitle(), attr.style, attr.x, attr.y, attr.w,
                                attr.h, parentHandle, menu, FrameworkInstance(), this);
  return handle != nullptr && handle_ == handle;
}

bool TWindow::CanClose() { return true; }

bool TWindow::CloseWindow() {
  if (!CanClose()) return false;
  if (handle_) DestroyWindow(handle_);
  if (application_) application_->Condemn(this);
  return true;
}

void TWindow::SetupWindow() {}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchFrom(Responses(), message, wParam, lParam);
}

LRESULT TWindow::DispatchFrom(const TResponseTable& table, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const TResponseTable* t = &table; t; t = t->base ? &t->base() : nullptr) {
    for (std::size_t i = 0; i < t->count; ++i) {
      if (t->entries[i].message == message) return t->entries[i].handler(*this, wParam, lParam);
    }
  }
  return DefaultProcessing(message, wParam, lParam);
}

LRESULT TWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  return handle_ ? DefWindowProcA(handle_, message, wParam, lParam) : 0;
}

// Only the normal placement is tracked, so that a window closed while
// minimised or maximised reopens where the user last had it.
LRESULT TWindow::EvMove(WPARAM, LPARAM) {
  RECT r;
  if (!handle_ || IsIconic(handle_) || IsZoomed(handle_) || !GetWindowRect(handle_, &r)) return 0;
  POINT corner{r.left, r.top};
  HWND parent = GetParent(handle_);
  if ((GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) && parent) ScreenToClient(parent, &corner);
  attr.x = corner.x;
  attr.y = corner.y;
  return 0;
}

LRESULT TWindow::EvSize(WPARAM sizeType, LPARAM) {
  RECT r;
  if (!handle_ || sizeType != SIZE_RESTORED || !GetWindowRect(handle_, &r)) return 0;
  attr.w = r.right - r.left;
  attr.h = r.bottom - r.top;
  return 0;
}

LRESULT TWindow::EvClose(WPARAM, LPARAM) {
  CloseWindow();
  return 0;
}

LRESULT TWindow::EvDestroy(WPARAM, LPARAM) {
  if (application_ && application_->GetMainWindow() == this) PostQuitMessage(0);
  return 0;
}

const TResponseTable& TWindow::Responses() const { return ResponseTable(); }

const TResponseTable& TWindow::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_MOVE, Respond<&TWindow::EvMove>},
      {WM_SIZE, Respond<&TWindow::EvSize>},
      {WM_CLOSE, Respond<&TWindow::EvClose>},
      {WM_DESTROY, Respond<&TWindow::EvDestroy>},
  };
  static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, nullptr);
  return TABLE;
}
