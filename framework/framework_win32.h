// The windowing framework shared by the host editor and the add-in: an
// application with a message loop, window objects bound to native windows,
// response-table dispatch and deferred deletion of closed window objects.
//
// It lives in vxframe.dll so that the host and the add-in see one class
// registration and one deletion queue. Every module links the C++ runtime
// statically, so nothing here passes standard-library objects across the
// boundary, data members other than the plain creation attributes (attr) are
// private and are touched only by functions compiled into vxframe.dll, and
// objects are deleted through their virtual destructors (the deleting
// destructor of the module that allocated them).
#pragma once
#include <windows.h>

#include <cstddef>

#ifdef VXFRAME_BUILDING
#define VXFRAME_API __declspec(dllexport)
#else
#define VXFRAME_API __declspec(dllimport)
#endif

class TWindow;

// One row of a response table: a message and the function that answers it.
using TResponseHandler = LRESULT (*)(TWindow& window, WPARAM wParam, LPARAM lParam);

struct TResponseEntry {
  UINT message;
  TResponseHandler handler;
};

// A class's own rows and the accessor of its base class's table (null for the
// root). Lookup walks from the most derived table to the root and takes the
// first row naming the message; a message no table names goes to
// DefWindowProcA.
struct TResponseTable {
  const TResponseEntry* entries;
  std::size_t count;
  const TResponseTable& (*base)();
};

// A class's table from its rows, counted here rather than by hand:
//   static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
template <std::size_t N>
constexpr TResponseTable MakeResponseTable(const TResponseEntry (&rows)[N],
                                           const TResponseTable& (*base)()) {
  return TResponseTable{rows, N, base};
}

// Respond<&TMyWindow::EvSize> turns a member handler
// `LRESULT TMyWindow::EvSize(WPARAM, LPARAM)` into a table row's function.
template <class Member>
struct TResponseMemberClass;
template <class C>
struct TResponseMemberClass<LRESULT (C::*)(WPARAM, LPARAM)> {
  using Type = C;
};

template <auto Handler>
LRESULT Respond(TWindow& window, WPARAM wParam, LPARAM lParam) {
  using Class = typename TResponseMemberClass<decltype(Handler)>::Type;
  return (static_cast<Class&>(window).*Handler)(wParam, lParam);
}

// The instance handle of the program and the loop that runs it. Window objects
// that close are queued here and deleted by the loop, never inside their own
// message handling.
class VXFRAME_API TApplication {
 public:
  explicit TApplication(HINSTANCE instance);
  // Deletes the queued objects and the main window object if it still exists.
  virtual ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  HINSTANCE GetInstance() const;

  // The main window's destruction posts WM_QUIT. A main window object without
  // an application takes this one. The application deletes the main window
  // object at its own destruction unless it was deleted before.
  void SetMainWindow(TWindow* window);
  TWindow* GetMainWindow() const;

  // Dispatches messages until WM_QUIT, deleting condemned objects after every
  // dispatched message and whenever the queue runs empty. Returns WM_QUIT's
  // exit code.
  int MessageLoop();

  // Dispatches every message already queued, deleting condemned objects after
  // each, and returns without waiting. Returns false (and leaves WM_QUIT
  // queued again) when it met WM_QUIT. For tests and scripted runs.
  bool PumpWaitingMessages();

  // Detaches the object from its parent and queues it for deletion. Queuing an
  // object twice queues it once.
  void Condemn(TWindow* window);
  // Deletes every queued object, including those queued by the destructors.
  void DeleteCondemned();

 protected:
  // Lets a derived application take a message before it is dispatched (for
  // example to translate accelerators). Returns true when it was handled. The
  // loop takes messages as Unicode (PeekMessageW), so msg holds UTF-16 text.
  virtual bool ProcessAppMsg(MSG& msg);

 private:
  friend class TWindow;
  bool IsCondemned(const TWindow* window) const;
  void Forget(TWindow* window);
  void Dispatch(MSG& msg);
  // Dispatches what is queued, deleting condemned objects after each message.
  // False when it took WM_QUIT (its exit code in exitCode).
  bool DispatchQueued(int& exitCode);

  HINSTANCE instance_;
  TWindow* mainWindow_;
  TWindow* condemnedHead_;
};

// Creation attributes of a native window, read by TWindow::Create. x and y are
// screen coordinates for top-level windows and parent client coordinates for
// child windows; the base handling of WM_MOVE and WM_SIZE keeps them in step
// with the window's normal (neither minimised nor maximised) placement.
struct TWindowAttr {
  DWORD style;
  DWORD exStyle;
  int x;
  int y;
  int w;
  int h;
  int id;      // control id of a child window
  HMENU menu;  // menu of a top-level window
};

class VXFRAME_API TWindow {
 public:
  // Joins the parent object's children and takes its application when app is
  // null. The title is copied. Default attributes: a visible child window at
  // 0, 0 with size 0 x 0.
  TWindow(TWindow* parent, const char* title = nullptr, TApplication* app = nullptr);
  // Deletes the child objects, leaves the parent and the deletion queue, and
  // destroys the native window if it still exists. Messages of that last
  // destruction are no longer dispatched to the object.
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND GetHandle() const;
  // True once a native window has existed for this object, also after it is
  // gone: what a destructor needs to tell a closed window from one never made.
  bool HadWindow() const;
  TApplication* GetApplication() const;
  const char* GetTitle() const;
  TWindow* FirstChild() const;
  TWindow* NextSibling() const;

  TWindowAttr attr;

  // Registers the class "VxFrameWindow" on first use and creates the native
  // window from attr, owned by (or, with WS_CHILD, a child of) the parent's
  // window. SetupWindow runs while the window is being created, once it
  // exists and before Create returns. Returns false when the window could not
  // be created, or when the object already has one.
  bool Create();

  // Asks CanClose, then destroys the native window and condemns the object to
  // the application's deletion queue. Without an application the object is
  // left to whoever owns it. Returns whether the window closed.
  bool CloseWindow();

  virtual bool CanClose();

  // Runs the response table lookup from the most derived class down.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  static const TResponseTable& ResponseTable();

  // The name of the framework's window class.
  static const char* DefaultClassName();

 protected:
  // Called once per native window, inside its creation, after it exists.
  virtual void SetupWindow();

  // Every class that adds rows overrides this to return its own table.
  virtual const TResponseTable& Responses() const;

  // Hands a message to the handling of the given table and its bases, as if
  // the derived rows did not exist; DefWindowProcA when none names it. The
  // one way a derived handler calls its base's answer:
  //   DispatchFrom(TFrameWindow::ResponseTable(), WM_SIZE, wParam, lParam);
  // It needs no knowledge of whether the base names the message itself, so
  // the base handlers below stay private.
  LRESULT DispatchFrom(const TResponseTable& table, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class TApplication;
  friend struct TWindowProcedure;
  // The base answers, reached through ResponseTable().
  LRESULT EvMove(WPARAM wParam, LPARAM lParam);
  LRESULT EvSize(WPARAM wParam, LPARAM lParam);
  LRESULT EvClose(WPARAM wParam, LPARAM lParam);
  LRESULT EvDestroy(WPARAM wParam, LPARAM lParam);

  // Leaves the current parent object and joins the new one's children (at the
  // end), taking its application when this object has none. The native
  // window is not touched.
  void SetParent(TWindow* parent);
  void AddChild(TWindow* child);
  void RemoveChild(TWindow* child);
  void Detach();
  void Attach(HWND handle);
  void ReleaseHandle();

  HWND handle_;
  TWindow* parentWindow_;
  TApplication* application_;
  char* title_;
  TWindow* firstChildWindow_;
  TWindow* nextSiblingWindow_;  // sibling while a child; next in the queue while condemned
  bool setupDone_;
  bool windowMade_;
};

// A top-level window with caption and sizing border; what fills its client
// area is the derived class's own (the tag window creates its tree at set-up).
class VXFRAME_API TFrameWindow : public TWindow {
 public:
  // Default attributes: WS_OVERLAPPEDWINDOW | WS_VISIBLE, no extended style,
  // CW_USEDEFAULT position and size.
  TFrameWindow(TWindow* parent, const char* title);
  ~TFrameWindow() override;

  static const TResponseTable& ResponseTable();
};
