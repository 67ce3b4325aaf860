// The tag window driven through the built DLL: lifecycle, focus, resizing and
// the refused openings. Compiled as code page 932 for the captions.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/tag_tree_reader_win32.h"
#include "tests/addin/addin_host_win32.h"
#include "tests/tree/model_fill.h"

namespace vx::test {
namespace {

const char TITLE[] = "VX HTML文書作成 v5.60";
const char PARAGRAPH[] = "段落　<P>";
const char TEXT_COLOUR[] = "テキストの色指定　<FONT COLOR=\"#\">";
constexpr int BUILT_IN_ITEMS = 11 + 74 + 103;

HTREEITEM Caret(HWND tree) { return vxhost::NextItem(tree, nullptr, TVGN_CARET); }
HTREEITEM FirstRoot(HWND tree) { return vxhost::NextItem(tree, nullptr, TVGN_ROOT); }
bool ActivationQueuedFor(HWND tree) {
  MSG msg;
  return PeekMessageA(&msg, tree, WM_ACTIVATE, WM_ACTIVATE, PM_NOREMOVE) != 0;
}
std::string WindowText(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}
std::string WriteDefinitionFile(const char* name) {
  std::FILE* file = std::fopen(name, "wb");
  std::fputs("[VX-HTML定義ファイル]\n.自作\n署名\n<ADDRESS>me</ADDRESS>\n", file);
  std::fclose(file);
  return name;
}

// The paragraph's pair, then one hand-back naming the tree; the activations
// after it are the host's own doing.
std::vector<Msg> ParagraphHandedBack(HWND tree) {
  return {Insert(InsertLead, "<P>"), Insert(InsertTrail, "</P>"), HandBack(tree),
          Msg(Role::Tag, WM_ACTIVATE, WA_INACTIVE).Optional(),
          Msg(Role::Edit, WM_ACTIVATE, WA_ACTIVE).Optional()};
}

// Enter on the paragraph entry: its pair, then the hand-back.
class TagWindowHost : public AddinHost {
 protected:
  void EnterOnParagraphInsertsAndHandsBack() {
    Pump();
    const HTREEITEM paragraph = FindItem(PARAGRAPH);
    ASSERT_NE(paragraph, nullptr);
    Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
    PressEnterOn(paragraph);
    EXPECT_TRUE(Messages().Matches(ParagraphHandedBack(Tree())));
  }
};

using TagWindowLifecycle = TagWindowHost;

TEST_F(TagWindowLifecycle, OpensFocusesClosesAndReopens) {
  EXPECT_TRUE(CloseRequest()) << "a close request with nothing open";
  EXPECT_TRUE(TagFrames().empty());

  ASSERT_TRUE(Open());
  const HWND frame = TagFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(TagFrames().size(), 1u);
  EXPECT_EQ(WindowText(frame), TITLE);
  EXPECT_EQ(WindowText(frame), "VX HTML\x95\xb6\x8f\x91\x8d\xec\x90\xac v5.60") << "code page 932 bytes";
  EXPECT_EQ(GetWindowLongPtrA(frame, GWL_STYLE) & 0x10CF0000, 0x10CF0000);
  EXPECT_EQ(GetWindowLongPtrA(frame, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_NE(GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  const HWND tree = Tree();
  ASSERT_NE(tree, nullptr);
  // The tree's procedure is the DLL's export under the architecture's name
  // (stdcall, @16, on i686): a host that looks it up reaches the same code.
  EXPECT_EQ(GetWindowLongPtrA(tree, GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(GetProcAddress(addin, VX_TREE_PROC_EXPORT)));
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS);
  EXPECT_EQ(Caret(tree), FirstRoot(tree)) << "category node 0 is the caret item";
  EXPECT_NE(GetFocus(), tree) << "the activation is posted, not sent";
  Messages().Watch({WM_ACTIVATE});
  Pump();
  // One from the set-up, one from the focus the new frame took.
  EXPECT_TRUE(Messages().Matches({TreeActivation(frame), TreeActivation(frame)}));
  EXPECT_EQ(GetFocus(), tree);

  // Focus in the host: it moves to the tag window and on into the tree, and
  // the arguments of this call (another definition file) are not used.
  SetFocus(edit);
  const std::string other = WriteDefinitionFile("lifecycle_other.txt");
  EXPECT_FALSE(Open(other.c_str()));
  EXPECT_EQ(GetFocus(), frame);
  Messages().Watch({WM_ACTIVATE});
  Pump();
  EXPECT_TRUE(Messages().Matches({TreeActivation(frame)}));
  EXPECT_EQ(GetFocus(), tree);
  EXPECT_EQ(TagFrame(), frame);
  EXPECT_EQ(TagFrames().size(), 1u);
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS) << "the definition file was loaded again";
  DeleteFileA(other.c_str());

  // Focus on the frame itself: one beep, and the focus stays where it is.
  UserCallSpy calls(addin);
  ASSERT_TRUE(calls.BeepsSeen()) << "the add-in does not import MessageBeep";
  SetFocus(frame);
  Messages().Watch({WM_SETFOCUS, WM_KILLFOCUS});
  EXPECT_FALSE(Open());
  EXPECT_EQ(calls.beeps, std::vector<UINT>{MB_OK});
  EXPECT_TRUE(Messages().Matches({}));
  EXPECT_EQ(GetFocus(), frame);
  Pump();

  // Close request: the window goes at once, the object only with the host's loop.
  EXPECT_TRUE(CloseRequest());
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(TagFrames().empty());
  DWORD type = 0;
  std::string data;
  EXPECT_FALSE(ReadValue("HtWinX", &type, &data)) << "saved before the object was deleted";
  EXPECT_FALSE(Open()) << "still closing: no second tag window";
  EXPECT_TRUE(TagFrames().empty());
  EXPECT_EQ(calls.beeps.size(), 1u) << "no frame left to focus is no reason to beep";
  EXPECT_TRUE(CloseRequest()) << "a close request while closing";
  Pump();
  EXPECT_TRUE(ReadValue("HtWinX", &type, &data));

  ASSERT_TRUE(Open());
  ASSERT_NE(Tree(), nullptr);
  EXPECT_EQ(Caret(Tree()), FirstRoot(Tree()));
  Pump();
  EXPECT_EQ(GetFocus(), Tree());
}

TEST_F(TagWindowLifecycle, EnterOnAnEntryInsertsAndHandsTheFocusBack) {
  ASSERT_TRUE(Open());
  EnterOnParagraphInsertsAndHandsBack();
  EXPECT_EQ(GetFocus(), edit);
  char text[32] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "<P></P>");
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
}

TEST_F(TagWindowLifecycle, ASecondOpeningKeepsTheFirstEditWindowAndDefinitionFile) {
  const std::string path = WriteDefinitionFile("lifecycle_first.txt");
  ASSERT_TRUE(Open(path.c_str()));
  Pump();
  const HWND otherEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, HostHandle(),
                                         nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(otherEdit, nullptr);
  SetFocus(edit);
  EXPECT_FALSE(OpenWith(otherEdit, ""));
  Pump();

  // The file grows while the window is open: nothing of it shows until the next opening.
  std::FILE* file = std::fopen(path.c_str(), "ab");
  std::fputs("追加\n<HR>\n", file);
  std::fclose(file);
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS + 2);

  Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
  PressEnterOn(FindItem(PARAGRAPH));
  EXPECT_TRUE(Messages().Matches(ParagraphHandedBack(Tree())));
  EXPECT_EQ(WindowText(otherEdit), "");
  EXPECT_EQ(WindowText(edit), "<P></P>");
  EXPECT_EQ(GetFocus(), edit) << "the hand-back still goes to the first host frame";

  CloseAndDelete();
  ASSERT_TRUE(Open(path.c_str()));
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS + 3);
  DestroyWindow(otherEdit);
  DeleteFileA(path.c_str());
}

TEST_F(TagWindowLifecycle, DeletingTheHostWindowObjectClosesTheTagWindow) {
  ASSERT_TRUE(Open());
  const HWND frame = TagFrame();
  delete root;  // the tag window object is among the host frame's children
  root = nullptr;
  hostFrame = nullptr;
  EXPECT_FALSE(IsWindow(frame));
  DWORD type = 0;
  std::string data;
  EXPECT_TRUE(ReadValue("HtWinH", &type, &data)) << "the destructor saves the placement";

  root = new TWindow(nullptr, nullptr, app);
  hostFrame = new TFrameWindow(root, "host again");
  ASSERT_TRUE(hostFrame->Create());
  EXPECT_TRUE(Open()) << "the tag window counts as closed once its object is gone";
  EXPECT_NE(TagFrame(), nullptr);
}

using TagWindowResize = AddinHost;

TEST_F(TagWindowResize, NoticeForEverySizeAndTheTreeCoversTheClientArea) {
  ASSERT_TRUE(Open());
  Pump();
  const HWND frame = TagFrame();
  const HWND tree = Tree();
  auto treeCoversClient = [&] {
    RECT client{}, treeRect{};
    GetClientRect(frame, &client);
    GetWindowRect(tree, &treeRect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&treeRect), 2);
    return EqualRect(&client, &treeRect) != 0;
  };
  EXPECT_TRUE(treeCoversClient());

  // The host hears of every size, whatever its type, with the tag window's
  // handle, before the tree is fitted to it. The tree sizes itself once more
  // when its scroll bars come or go.
  const auto resized = [&](WPARAM type) {
    return std::vector<Msg>{Msg(Role::Tag, WM_SIZE, type), ResizeNotice(frame),
                            Msg(Role::Tree, WM_SIZE, SIZE_RESTORED),
                            Msg(Role::Tree, WM_SIZE, SIZE_RESTORED).Optional()};
  };
  Messages().Watch({WM_SIZE, WM_PARENTNOTIFY});
  SetWindowPos(frame, nullptr, 0, 0, 320, 410, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Messages().Matches(resized(SIZE_RESTORED)));
  EXPECT_TRUE(treeCoversClient());

  ShowWindow(frame, SW_MINIMIZE);
  RECT treeRect{};
  GetWindowRect(tree, &treeRect);
  EXPECT_EQ(treeRect.right - treeRect.left, 0);
  EXPECT_EQ(treeRect.bottom - treeRect.top, 0);
  EXPECT_TRUE(Messages().Matches(resized(SIZE_MINIMIZED)));

  ShowWindow(frame, SW_RESTORE);
  EXPECT_TRUE(treeCoversClient());
  EXPECT_TRUE(Messages().Matches(resized(SIZE_RESTORED)));
  ShowWindow(frame, SW_MAXIMIZE);
  EXPECT_TRUE(treeCoversClient());
  EXPECT_TRUE(Messages().Matches(resized(SIZE_MAXIMIZED)));
}

// While the colour dialog runs, focus reaching the frame must not pull the
// focus into the tree; after the dialog it does again.
TEST_F(TagWindowResize, FocusHandlerPostsNothingWhileTheColourDialogIsUp) {
  ASSERT_TRUE(Open());
  Pump();
  const HWND frame = TagFrame();
  const HWND tree = Tree();
  const HTREEITEM colour = FindItem(TEXT_COLOUR);
  ASSERT_NE(colour, nullptr);

  bool checked = false, queuedDuringDialog = true;
  {
    ColourDialogScript script(
        [&] {
          SendMessageA(frame, WM_SETFOCUS, 0, 0);
          queuedDuringDialog = ActivationQueuedFor(tree);
          checked = true;
        },
        IDCANCEL);
    PressEnterOn(colour);
    EXPECT_FALSE(script.TimedOut()) << "the colour dialog was never answered";
  }
  ASSERT_TRUE(checked) << "the colour dialog did not come up";
  EXPECT_FALSE(queuedDuringDialog);
  EXPECT_EQ(GetFocus(), edit) << "a cancelled colour still hands the focus back";

  Pump();
  SendMessageA(frame, WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(ActivationQueuedFor(tree));
}

using TagWindowFaults = AddinHost;

TEST_F(TagWindowFaults, NullAndOverlongDefinitionPathsLoadNothing) {
  const std::string path = WriteDefinitionFile("faults_definitions.txt");
  ASSERT_TRUE(Open(path.c_str()));
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS + 2) << "a fitting path is used";
  CloseAndDelete();

  ASSERT_TRUE(Open(nullptr));
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS);
  CloseAndDelete();

  // 300 bytes and more do not fit: taken as no path, not cut to 299 bytes.
  for (size_t length : {300u, 1000u}) {
    const std::string overlong = path + std::string(length - path.size(), 'x');
    ASSERT_TRUE(Open(overlong.c_str()));
    EXPECT_EQ(CountItems(), BUILT_IN_ITEMS) << length;
    CloseAndDelete();
  }
  ASSERT_TRUE(Open(path.c_str())) << "and the next fitting path works again";
  EXPECT_EQ(CountItems(), BUILT_IN_ITEMS + 2);
  DeleteFileA(path.c_str());
}

// A window that cannot be made leaves no tag window and no placement behind,
// and the next call tries afresh.
TEST_F(TagWindowFaults, AFailedWindowCreationSavesNothingAndTheNextCallOpens) {
  {
    CbtHook refuseTagWindow([](int code, WPARAM, LPARAM lParam) {
      if (code != HCBT_CREATEWND) return false;
      const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
      return create->lpszName && std::string(create->lpszName) == TITLE;
    });
    EXPECT_TRUE(Open()) << "an opening reports no error to the host";
  }
  EXPECT_TRUE(TagFrames().empty());
  Pump();
  DWORD type = 0;
  std::string data;
  for (const char* name : {"HtWinX", "HtWinY", "HtWinW", "HtWinH"}) {
    EXPECT_FALSE(ReadValue(name, &type, &data)) << name;
  }

  ASSERT_TRUE(Open());
  EXPECT_EQ(TagFrames().size(), 1u);
  EXPECT_NE(Tree(), nullptr);
  CloseAndDelete();
  EXPECT_TRUE(ReadValue("HtWinX", &type, &data));
}

TEST_F(TagWindowFaults, AnOpeningWhileTheTreeFailureBoxIsUpIsRefused) {
  UserCallSpy calls(addin);
  ASSERT_TRUE(calls.BoxesSeen()) << "the add-in does not import MessageBoxExA";
  bool nested = true;
  size_t framesDuringBox = 0;
  std::string boxText;
  HWND box = nullptr;
  onHostApp = [&] {
    boxText = FindWindowExA(box, nullptr, "Static", "Tree View not created!") ? "found" : "";
    nested = Open();
    framesDuringBox = TagFrames().size();
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  const HWND host = HostHandle();
  {
    DialogWatchdog watchdog;
    CbtHook hook([&](int code, WPARAM wParam, LPARAM lParam) {
      if (code == HCBT_ACTIVATE && box == nullptr && IsDialogWindow(reinterpret_cast<HWND>(wParam))) {
        box = reinterpret_cast<HWND>(wParam);
        PostMessageA(host, WM_APP, 0, 0);
      }
      if (code != HCBT_CREATEWND) return false;
      const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
      return HIWORD(reinterpret_cast<ULONG_PTR>(create->lpszClass)) != 0 &&
             lstrcmpiA(create->lpszClass, WC_TREEVIEWA) == 0;
    });
    EXPECT_TRUE(Open()) << "the opening itself succeeds without a tree";
    EXPECT_FALSE(watchdog.Fired()) << "the message box was never answered";
  }
  ASSERT_NE(box, nullptr) << "no message box came up";
  EXPECT_EQ(boxText, "found");
  // Owned by nobody, the system's caption, a plain OK box in the user's language.
  ASSERT_EQ(calls.boxes.size(), 1u);
  const UserCallSpy::Box& shown = calls.boxes.front();
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_EQ(shown.text, "Tree View not created!");
  EXPECT_EQ(shown.caption, std::nullopt);
  EXPECT_EQ(shown.type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(shown.language, 0);
  EXPECT_FALSE(nested);
  EXPECT_EQ(framesDuringBox, 1u);
  EXPECT_EQ(TagFrames().size(), 1u);
  EXPECT_EQ(Tree(), nullptr);

  // Without a tree the window still resizes, tells the host, and closes normally.
  Messages().Watch({WM_SIZE, WM_PARENTNOTIFY});
  SetWindowPos(TagFrame(), nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Messages().Matches({Msg(Role::Tag, WM_SIZE, SIZE_RESTORED), ResizeNotice(TagFrame())}));
  CloseAndDelete();
  EXPECT_TRUE(TagFrames().empty());
  ASSERT_TRUE(Open());
  EXPECT_NE(Tree(), nullptr);
}

// ---- Any system code page ----
// tests/addin/CMakeLists.txt runs this suite once per system code page of its
// table, naming the one it sets up in VX_EXPECTED_ACP.

std::wstring FromCp932(const std::string& bytes) {
  wchar_t wide[512] = {};
  MultiByteToWideChar(932, 0, bytes.c_str(), -1, wide, 512);
  return wide;
}
std::wstring CaptionShown(HWND tree, HTREEITEM item) {
  wchar_t text[256] = {};
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = text;
  query.cchTextMax = 256;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
  return text;
}
// What the caption bar draws and other programs read, without a message
// through the framework's ANSI window procedure.
std::wstring TitleShown(HWND window) {
  wchar_t text[128] = {};
  InternalGetWindowText(window, text, 128);
  return text;
}

using TagWindowCodePages = TagWindowHost;

TEST_F(TagWindowCodePages, TitleAndEveryCaptionShowTheirCodePage932Characters) {
  if (const char* expected = std::getenv("VX_EXPECTED_ACP")) {
    ASSERT_EQ(GetACP(), std::strtoul(expected, nullptr, 10)) << "the run did not get its code page";
  }
  const std::string path = WriteDefinitionFile("code_pages.txt");
  ASSERT_TRUE(Open(path.c_str()));
  EXPECT_EQ(TitleShown(TagFrame()), L"VX HTML\u6587\u66F8\u4F5C\u6210 v5.60");
  EXPECT_EQ(TitleShown(TagFrame()), FromCp932(TITLE));

  TagTreeContext ctx = test_support::ContextWithImages();
  ModelTree model;
  test_support::FillModel(ctx, model, path.c_str());
  std::vector<std::wstring> expected;
  for (const ModelItemAtDepth& row : model.PreOrder()) expected.push_back(FromCp932(row.item->caption));
  std::vector<std::wstring> shown;
  vxhost::FindInPreOrder(Tree(), [&](HTREEITEM item) {
    shown.push_back(CaptionShown(Tree(), item));
    return false;
  });
  ASSERT_EQ(shown.size(), static_cast<std::size_t>(BUILT_IN_ITEMS + 2));
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(shown[0], L"\u57FA\u672C\u69CB\u6210") << "category 0 from the string table";
  EXPECT_EQ(shown[BUILT_IN_ITEMS + 1], L"\u7F72\u540D") << "an entry of the definition file";

  // The host finds entries by their 932 bytes, and inserts go out as before.
  EnterOnParagraphInsertsAndHandsBack();
  CloseAndDelete();
  DeleteFileA(path.c_str());
}

// ---- DPI ----

int RowHeight(HWND tree) { return static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0)); }
HIMAGELIST TreeImages(HWND tree) {
  return reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
}
int ImageSize(HWND tree) {
  int cx = 0, cy = 0;
  ImageList_GetIconSize(TreeImages(tree), &cx, &cy);
  return cx == cy ? cx : -1;
}

// The pixels of one image of the tree's list, row by row.
std::vector<COLORREF> ImagePixels(HWND tree, int index) {
  const int size = ImageSize(tree);
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, canvas);
  ImageList_Draw(TreeImages(tree), index, dc, 0, 0, ILD_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  return pixels;
}

using TagWindowDpi = AddinHost;

TEST_F(TagWindowDpi, FollowsTheDpiOfItsMonitorAndComesBackTo96Unchanged) {
  ASSERT_TRUE(Open());
  const HWND tree = Tree();
  ASSERT_EQ(ImageSize(tree), 16);
  const int rowAt96 = RowHeight(tree);
  const std::vector<COLORREF> tag = ImagePixels(tree, 5);  // HTMLC, unscaled at 96 DPI

  // Moved onto a 144 DPI monitor: the proposed rectangle, images half as
  // large again made from the same pictures, rows at least as high.
  const RECT proposed{40, 60, 40 + 300, 60 + 900};
  SendMessageA(TagFrame(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&proposed));
  RECT outer{};
  GetWindowRect(TagFrame(), &outer);
  EXPECT_EQ(outer.left, proposed.left);
  EXPECT_EQ(outer.bottom, proposed.bottom);
  EXPECT_EQ(ImageSize(tree), 24);
  EXPECT_EQ(ImageList_GetImageCount(TreeImages(tree)), 9) << "every index still names its picture";
  EXPECT_GE(RowHeight(tree), 24);
  std::printf("row height at 96 DPI %d, after moving to 144 DPI %d\n", rowAt96, RowHeight(tree));
  const std::vector<COLORREF> scaled = ImagePixels(tree, 5);
  for (COLORREF pixel : scaled) {
    ASSERT_NE(std::find(tag.begin(), tag.end(), pixel), tag.end()) << "a colour the picture lacks";
  }
  EXPECT_NE(std::count(scaled.begin(), scaled.end(), scaled[0]), static_cast<std::ptrdiff_t>(scaled.size()));
  SendMessageA(TagFrame(), WM_DPICHANGED, 0, 0);
  EXPECT_EQ(ImageSize(tree), 24) << "no DPI and no rectangle change nothing";

  // And back: the pictures as loaded, the rows as before.
  SendMessageA(TagFrame(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(ImageSize(tree), 16);
  EXPECT_EQ(ImagePixels(tree, 5), tag);
  EXPECT_EQ(RowHeight(tree), rowAt96);
}

// Wine takes the system DPI from the registry when a process starts: the case
// runs itself again in a child process started after the value is set.
TEST_F(TagWindowDpi, OpensScaledOnA144DpiSystem) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi != 144) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    const DWORD logPixels = 144;
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&logPixels), sizeof logPixels);
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = std::string("\"") + program + "\" --gtest_filter=TagWindowDpi.OpensScaledOnA144DpiSystem";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &child);
    DWORD status = 1;
    if (started) {
      WaitForSingleObject(child.hProcess, INFINITE);
      GetExitCodeProcess(child.hProcess, &status);
      CloseHandle(child.hProcess);
      CloseHandle(child.hThread);
    }
    RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
    ASSERT_TRUE(started);
    EXPECT_EQ(status, 0u) << "the run at 144 DPI failed";
    return;
  }
  ASSERT_TRUE(Open());
  EXPECT_EQ(ImageSize(Tree()), 24);
  EXPECT_EQ(ImageList_GetImageCount(TreeImages(Tree())), 9);
  EXPECT_GE(RowHeight(Tree()), 24);
  std::printf("row height opening at 144 DPI %d\n", RowHeight(Tree()));
}

}  // namespace
}  // namespace vx::test
