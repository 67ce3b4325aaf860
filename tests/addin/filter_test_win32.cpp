// The tag window's filter driven through the built DLL: Ctrl+F from the tree,
// typing, the keys of the box, and activation compared request for request
// with Enter on the same entry in the tree. Runs once per system code page
// (tests/addin/CMakeLists.txt); compiled as code page 932 for the captions.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/tag_tree_reader_win32.h"
#include "tests/addin/addin_host_win32.h"

namespace vx::test {
namespace {

using test_support::MatchSequence;

const char BASIC_TABLE[] = "罫線無しの基本型　<TABLE>";
const char LIBRARY_TABLE[] = "表　<table>";
const char TITLE_ENTRY[] = "ﾀｲﾄﾙ　<TITLE>";
const char TEXT_COLOUR[] = "テキストの色指定　<FONT COLOR=\"#\">";

std::wstring FromCp932(const char* bytes) {
  wchar_t wide[256] = {};
  MultiByteToWideChar(932, 0, bytes, -1, wide, 256);
  return wide;
}

// The HTML5 library beside the test programs, wherever the run's folder is.
std::string LibraryPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "html5.def";
}

class TagWindowFilter : public AddinHost {
 protected:
  void SetUp() override {
    AddinHost::SetUp();
    ASSERT_TRUE(Open(LibraryPath().c_str()));
    Pump();
    ASSERT_EQ(GetFocus(), Tree());
  }

  void HoldControl(bool held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  // Ctrl+F as the tree takes it: its own procedure, then its notification.
  void ControlF(HWND window) {
    HoldControl(true);
    SendMessageW(window, WM_KEYDOWN, 'F', 0x00210001);
    HoldControl(false);
  }
  HWND Panel() const { return GetParent(box_); }
  HWND Results() const { return FindWindowExW(Panel(), nullptr, WC_LISTVIEWW, nullptr); }
  void OpenFilter() {
    ControlF(Tree());
    box_ = GetFocus();
    ASSERT_NE(box_, Tree()) << "Ctrl+F left the focus in the tree";
    ASSERT_NE(Results(), nullptr);
  }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(box_, WM_CHAR, c, 1);
  }
  LRESULT Key(WPARAM key) { return SendMessageW(box_, WM_KEYDOWN, key, 1); }

  int ResultCount() { return static_cast<int>(SendMessageW(Results(), LVM_GETITEMCOUNT, 0, 0)); }
  int ChosenRow() { return static_cast<int>(SendMessageW(Results(), LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
  std::wstring Shown(int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(Results(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  int RowOf(const char* caption) {
    for (int row = 0; row < ResultCount(); ++row) {
      if (Shown(row, 0) == FromCp932(caption)) return row;
    }
    return -1;
  }
  void ChooseRow(int row) {
    while (ChosenRow() > row && ChosenRow() > 0) Key(VK_UP);
    while (ChosenRow() < row && ChosenRow() + 1 < ResultCount()) Key(VK_DOWN);
    ASSERT_EQ(ChosenRow(), row);
  }

  // What Enter on the entry sends from the tree: the caret moves there, and
  // back where it was afterwards.
  std::vector<Msg> EnterInTree(const char* caption) {
    const HTREEITEM caret = vxhost::NextItem(Tree(), nullptr, TVGN_CARET);
    Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
    PressEnterOn(FindItem(caption));
    std::vector<Msg> sent = Messages().Recorded();
    SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(caret));
    return sent;
  }
  std::vector<Msg> EnterInBox() {
    Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
    Key(VK_RETURN);
    SendMessageW(box_, WM_CHAR, '\r', 1);
    return Messages().Recorded();
  }

  HWND box_ = nullptr;
};

// The protocol's part of a record: the insert requests and the hand-backs,
// without the activations the window system adds around them.
std::vector<Msg> Requests(const std::vector<Msg>& recorded) {
  std::vector<Msg> requests;
  for (const Msg& m : recorded) {
    if (m.message == WM_HOST_INSERT || (m.role == Role::Host && m.message == WM_ACTIVATE)) requests.push_back(m);
  }
  return requests;
}

// Request for request: message, wParam, and the text an insert carries or
// the window a hand-back names (an insert's lParam is only where the sender
// keeps its text for the call).
::testing::AssertionResult SameRequests(const std::vector<Msg>& box, const std::vector<Msg>& tree) {
  const std::vector<Msg> a = Requests(box);
  const std::vector<Msg> b = Requests(tree);
  bool same = !a.empty() && a.size() == b.size();
  for (std::size_t i = 0; same && i < a.size(); ++i) {
    same = a[i].role == b[i].role && a[i].message == b[i].message && a[i].wParam == b[i].wParam &&
           a[i].text == b[i].text && (a[i].message == WM_HOST_INSERT || a[i].lParam == b[i].lParam);
  }
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "from the box " << ::testing::PrintToString(a) << "\nfrom the tree "
                                       << ::testing::PrintToString(b);
}

TEST_F(TagWindowFilter, FindsChoosesAndActivatesAsTheTreeDoes) {
  if (const char* expected = std::getenv("VX_EXPECTED_ACP")) {
    ASSERT_EQ(GetACP(), std::strtoul(expected, nullptr, 10)) << "the run did not get its code page";
  }
  const HWND frame = TagFrame();
  const HWND tree = Tree();
  RECT client{};
  GetClientRect(frame, &client);
  OpenFilter();
  EXPECT_EQ(GetParent(Panel()), frame);
  EXPECT_EQ(ResultCount(), 0) << "an empty filter shows nothing";

  // The box at the top, the results below it, the tree under them.
  RECT panel{}, treeRect{};
  GetWindowRect(Panel(), &panel);
  GetWindowRect(tree, &treeRect);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&panel), 2);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&treeRect), 2);
  EXPECT_EQ(panel.top, 0);
  EXPECT_EQ(treeRect.top, panel.bottom);
  EXPECT_EQ(treeRect.bottom, client.bottom);
  EXPECT_GT(treeRect.bottom - treeRect.top, 0);

  // "table": the built-in <TABLE> entries and the library's <table> ones
  // first, the first of them chosen at once.
  Type(L"table");
  ASSERT_GT(ResultCount(), 3);
  EXPECT_EQ(ChosenRow(), 0);
  int named = 0;
  while (named < ResultCount() && (Shown(named, 0).find(L"<TABLE") != std::wstring::npos ||
                                   Shown(named, 0).find(L"<table") != std::wstring::npos)) {
    ++named;
  }
  const int basic = RowOf(BASIC_TABLE);
  const int library = RowOf(LIBRARY_TABLE);
  EXPECT_GE(basic, 0);
  EXPECT_LT(basic, named);
  EXPECT_GE(library, 0);
  EXPECT_LT(library, named);
  EXPECT_LT(basic, library) << "tree order within the named ones";
  EXPECT_EQ(Shown(library, 1), L"\u8868") << "the folder it lives in";  // 表
  EXPECT_EQ(Shown(library, 2), L"<table></table>");
  EXPECT_EQ(Shown(basic, 2), L"<TABLE></TABLE>");

  // Enter on a chosen result sends what Enter on it in the tree sends.
  ChooseRow(basic);
  std::vector<Msg> fromBox = EnterInBox();
  EXPECT_TRUE(MatchSequence(Requests(fromBox),
                            {Insert(InsertLead, "<TABLE>"), Insert(InsertTrail, "</TABLE>"), HandBack(tree)}));
  EXPECT_TRUE(SameRequests(fromBox, EnterInTree(BASIC_TABLE)));
  EXPECT_EQ(GetFocus(), edit);
  ChooseRow(library);
  fromBox = EnterInBox();
  EXPECT_TRUE(MatchSequence(Requests(fromBox), {Insert(InsertDefinitionText, "<table></table>"), HandBack(tree)}));
  EXPECT_TRUE(SameRequests(fromBox, EnterInTree(LIBRARY_TABLE)));

  // A double-click on a row activates it the same way.
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageW(Results(), LVM_ENSUREVISIBLE, basic, FALSE);
  SendMessageW(Results(), LVM_GETITEMRECT, basic, reinterpret_cast<LPARAM>(&row));
  Messages().Watch({WM_HOST_INSERT});
  SendMessageW(Results(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 2, (row.top + row.bottom) / 2));
  EXPECT_TRUE(Messages().Matches({Insert(InsertLead, "<TABLE>"), Insert(InsertTrail, "</TABLE>")}));
  EXPECT_EQ(ChosenRow(), basic);
  Pump();

  // Keys that must do nothing by themselves: an input method's Enter, Ctrl+Down
  // (the hand-back alone), a pasted text with line breaks, 200 characters.
  SetFocus(box_);
  Messages().Watch({WM_HOST_INSERT, WM_ACTIVATE});
  const int before = ResultCount();
  Key(VK_PROCESSKEY);
  EXPECT_EQ(ResultCount(), before);
  EXPECT_EQ(ChosenRow(), basic);
  HoldControl(true);
  Key(VK_DOWN);
  HoldControl(false);
  EXPECT_TRUE(MatchSequence(Requests(Messages().Recorded()), {HandBack(tree)}));
  Messages().Clear();
  EXPECT_EQ(ChosenRow(), basic) << "Ctrl+Down moves nothing";
  SetWindowTextW(box_, L"table\r\nborder");
  EXPECT_GT(ResultCount(), 0);
  SetWindowTextW(box_, std::wstring(200, L'a').c_str());
  EXPECT_EQ(ResultCount(), 0);
  EXPECT_EQ(Key(VK_RETURN), 0);
  EXPECT_TRUE(Messages().Matches({}));

  // Typing while the colour dialog is up filters, and Enter then activates
  // nothing; the dialog's own answer ends the activation as in the tree.
  SetWindowTextW(box_, L"font color");
  ChooseRow(RowOf(TEXT_COLOUR));
  std::vector<Msg> colourFromBox;
  {
    ColourDialogScript script(
        [&] {
          SetWindowTextW(box_, L"table");
          Key(VK_RETURN);
        },
        IDCANCEL);
    colourFromBox = EnterInBox();
    EXPECT_EQ(script.dialogs, 1);
    EXPECT_FALSE(script.TimedOut());
  }
  std::vector<Msg> colourFromTree;
  {
    ColourDialogScript script([] {}, IDCANCEL);
    colourFromTree = EnterInTree(TEXT_COLOUR);
    EXPECT_EQ(script.dialogs, 1);
  }
  EXPECT_TRUE(MatchSequence(Requests(colourFromBox), {HandBack(tree)})) << "one activation, cancelled";
  EXPECT_TRUE(SameRequests(colourFromBox, colourFromTree));

  // Japanese typed in any of its forms, through the wide calls.
  SetFocus(box_);
  SetWindowTextW(box_, L"\u305F\u3044\u3068\u308B");  // たいとる
  const int title = RowOf(TITLE_ENTRY);
  ASSERT_GE(title, 0);
  SetWindowTextW(box_, L"\u30BF\u30A4\u30C8\u30EB");  // タイトル
  EXPECT_EQ(RowOf(TITLE_ENTRY), title);
  ChooseRow(title);

  // Resizing lays the three out together; the host still hears of it.
  Messages().Watch({WM_PARENTNOTIFY});
  SetWindowPos(frame, nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Messages().Matches({ResizeNotice(frame)}));
  GetClientRect(frame, &client);
  GetWindowRect(Panel(), &panel);
  GetWindowRect(tree, &treeRect);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&panel), 2);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&treeRect), 2);
  EXPECT_EQ(panel.right, client.right);
  EXPECT_EQ(treeRect.top, panel.bottom);
  EXPECT_EQ(treeRect.bottom, client.bottom);

  // Esc: back to the tree, on the entry last chosen, the tree alone again.
  Key(VK_ESCAPE);
  EXPECT_EQ(GetFocus(), tree);
  EXPECT_EQ(vxhost::NextItem(tree, nullptr, TVGN_CARET), FindItem(TITLE_ENTRY));
  EXPECT_FALSE(IsWindowVisible(Panel()));
  GetWindowRect(tree, &treeRect);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&treeRect), 2);
  EXPECT_TRUE(EqualRect(&client, &treeRect));
  Messages().Watch({WM_ACTIVATE});
  SendMessageA(frame, WM_SETFOCUS, 0, 0);
  Pump();
  EXPECT_TRUE(Messages().Matches({TreeActivation(frame)})) << "a closed filter takes no focus";

  // Ctrl+F opens it again as it was, and Ctrl+F in the box closes it.
  ControlF(tree);
  EXPECT_EQ(GetFocus(), box_);
  EXPECT_EQ(RowOf(TITLE_ENTRY), title);
  ControlF(box_);
  EXPECT_EQ(GetFocus(), tree);
  EXPECT_FALSE(IsWindowVisible(Panel()));
}

}  // namespace
}  // namespace vx::test
