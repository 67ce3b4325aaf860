#include "tests/addin/addin_host_win32.h"

#include <commctrl.h>

#include <cstring>

#include "tests/host/find_item_win32.h"

namespace vx::test {
namespace {

AddinHost* Current = nullptr;
WNDPROC EditProcedure = nullptr;

// The host frame: takes the focus back into the edit window on a hand-back
// and runs a test's script when asked to, from inside whatever loop is running.
class THostFrame : public TFrameWindow {
 public:
  explicit THostFrame(TWindow* parent) : TFrameWindow(parent, "host") {}
  static const TResponseTable& ResponseTable() {
    static constexpr TResponseEntry ROWS[] = {
        {WM_ACTIVATE, Respond<&THostFrame::EvActivate>},
        {WM_APP, Respond<&THostFrame::EvApp>},
    };
    static constexpr TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
    return TABLE;
  }

 protected:
  const TResponseTable& Responses() const override { return ResponseTable(); }

 private:
  LRESULT EvActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_CLICKACTIVE && lParam != 0 && Current) {
      SetFocus(Current->edit);
      return 0;
    }
    return DispatchFrom(TFrameWindow::ResponseTable(), WM_ACTIVATE, wParam, lParam);
  }
  LRESULT EvApp(WPARAM, LPARAM) {
    if (Current && Current->onHostApp) Current->onHostApp();
    return 0;
  }
};

// Edits like a plain editor: the caret ends after a lead and before a trail.
LRESULT CALLBACK EditStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOST_INSERT) {
    const auto code = static_cast<INT_PTR>(wParam);
    if (code == InsertLineEnd) {
      SendMessageA(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
    } else if (code == InsertTrail || code == InsertLinkTrail) {
      DWORD start = 0;
      SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
      SendMessageA(window, EM_REPLACESEL, TRUE, lParam);
      SendMessageA(window, EM_SETSEL, start, start);
    } else {
      SendMessageA(window, EM_REPLACESEL, TRUE, lParam);
    }
    return 0;
  }
  return CallWindowProcA(EditProcedure, window, message, wParam, lParam);
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

Role RoleOf(HWND window) {
  if (!Current || !window) return Role::None;
  if (window == Current->HostHandle()) return Role::Host;
  if (window == Current->edit) return Role::Edit;
  if (ClassOf(window) == TWindow::DefaultClassName() &&
      GetWindow(window, GW_OWNER) == Current->HostHandle()) {
    return Role::Tag;
  }
  if (ClassOf(window) == WC_TREEVIEWA) return Role::Tree;
  return Role::None;
}

BOOL CALLBACK CollectTagFrame(HWND window, LPARAM param) {
  auto* frames = reinterpret_cast<std::vector<HWND>*>(param);
  if (RoleOf(window) == Role::Tag) frames->push_back(window);
  return TRUE;
}

}  // namespace

void AddinHost::SetUp() {
  Current = this;
  DeletePlacementKey();
  addin = LoadLibraryA("vxhtml.dll");
  ASSERT_NE(addin, nullptr) << "vxhtml.dll not found beside the test";
  createHtmlWindow = reinterpret_cast<CreateHtmlWindowFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(addin, "_CreateHtmlWindow")));
  ASSERT_NE(createHtmlWindow, nullptr);
  app = new TApplication(GetModuleHandleA(nullptr));
  root = new TWindow(nullptr, nullptr, app);
  hostFrame = new THostFrame(root);
  hostFrame->attr.x = 0;
  hostFrame->attr.y = 0;
  hostFrame->attr.w = 1000;
  hostFrame->attr.h = 700;
  ASSERT_TRUE(hostFrame->Create());
  edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE | ES_MULTILINE, EDIT_RECT.left,
                         EDIT_RECT.top, EDIT_RECT.right - EDIT_RECT.left,
                         EDIT_RECT.bottom - EDIT_RECT.top, HostHandle(), nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  EditProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditStandIn)));
  SetFocus(edit);
  Pump();
  recorder = std::make_unique<MessageRecorder>(RoleOf, std::vector<UINT>{WM_HOST_INSERT});
}

void AddinHost::TearDown() {
  recorder.reset();
  if (createHtmlWindow) CloseAndDelete();
  if (edit) DestroyWindow(edit);
  delete root;  // and the host frame with it
  delete app;
  Current = nullptr;
  // The DLL stays loaded: the framework may still hold its window class.
}

HWND AddinHost::TagFrame() const {
  const std::vector<HWND> frames = TagFrames();
  return frames.empty() ? nullptr : frames.front();
}

std::vector<HWND> AddinHost::TagFrames() const {
  std::vector<HWND> frames;
  EnumThreadWindows(GetCurrentThreadId(), CollectTagFrame, reinterpret_cast<LPARAM>(&frames));
  return frames;
}

HWND AddinHost::Tree() const { return vxhost::FindTagTree(TagFrame()); }

void AddinHost::DeletePlacementKey() { RegDeleteKeyA(HKEY_CURRENT_USER, PLACEMENT_KEY); }

void AddinHost::WriteValue(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, PLACEMENT_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

void AddinHost::WriteText(const char* name, const std::string& text) {
  WriteValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool AddinHost::ReadValue(const char* name, DWORD* type, std::string* data) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, PLACEMENT_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  char buffer[256] = {};
  DWORD size = sizeof buffer;
  const LONG status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return false;
  data->assign(buffer, size);
  return true;
}

HTREEITEM AddinHost::FindItem(const char* caption) const {
  HWND tree = Tree();
  return tree ? vx::test_support::FindItemByCaption(tree, caption) : nullptr;
}

int AddinHost::CountItems() const {
  HWND tree = Tree();
  int count = 0;
  if (tree) vxhost::FindInPreOrder(tree, [&](HTREEITEM) { ++count; return false; });
  return count;
}

void AddinHost::PressEnterOn(HTREEITEM item) {
  HWND tree = Tree();
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageA(tree, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  SendMessageA(tree, WM_CHAR, '\r', 0x001C0001);
}

}  // namespace vx::test
