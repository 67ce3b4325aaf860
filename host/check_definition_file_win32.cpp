// The editor's definition-file check: the checker's findings in a dialog,
// built in memory, with a read-only edit control the user can select and
// copy from and a button that copies it all.
#include "host/check_definition_file_win32.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "deffile/byte_sources.h"
#include "deffile/check_report_lines.h"
#include "host/document_file_win32.h"
#include "host/editor_frame_win32.h"

namespace vxhost {
namespace {

constexpr int COPY_BUTTON_ID = 1002;
constexpr wchar_t DIALOG_TITLE[] = L"定義ファイルの確認";
constexpr wchar_t NO_FINDINGS[] = L"問題は見つかりませんでした。";
constexpr wchar_t SOME_FINDINGS[] = L"次の点が見つかりました。";
constexpr wchar_t CANNOT_READ[] = L"定義ファイルを読み込めません：";
constexpr wchar_t COPY_CAPTION[] = L"すべてコピー(&C)";
constexpr wchar_t CLOSE_CAPTION[] = L"閉じる";
constexpr wchar_t FONT_NAME[] = L"MS Shell Dlg";

// The report's lines as the dialog's edit control shows them.
class ReportLines final : public vx::CheckReportLines {
 public:
  using CheckReportLines::CheckReportLines;
  std::wstring text;

 private:
  void Line(const std::string& line) override { text += WidePath(line) + L"\r\n"; }
};

// A dialog template in memory: the header, then each item on a DWORD boundary.
class DialogTemplate {
 public:
  DialogTemplate(const wchar_t* title, DWORD style, short width, short height, WORD items) {
    DLGTEMPLATE header = {style | DS_SETFONT | DS_MODALFRAME | DS_CENTER, 0, items, 0, 0, width, height};
    Append(&header, sizeof header);
    Words({0, 0});  // no menu, the standard class
    Text(title);
    Words({9});
    Text(FONT_NAME);
  }
  void Item(WORD atom, int id, const wchar_t* text, DWORD style, short x, short y, short width, short height) {
    Align();
    DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, static_cast<WORD>(id)};
    Append(&item, sizeof item);
    Words({0xFFFF, atom});
    Text(text);
    Words({0});  // no creation data
  }
  const DLGTEMPLATE* Get() {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + size / sizeof(WORD));
  }
  void Words(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) words_.push_back(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD BUTTON_ATOM = 0x0080;
constexpr WORD EDIT_ATOM = 0x0081;

INT_PTR OnInitDialog(HWND dialog, LPARAM report) {
  SetDlgItemTextW(dialog, CHECK_REPORT_ID, reinterpret_cast<const wchar_t*>(report));
  SetFocus(GetDlgItem(dialog, IDOK));
  return FALSE;
}

INT_PTR OnCommand(HWND dialog, WORD id) {
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(dialog, id);
  } else if (id == COPY_BUTTON_ID) {
    SendDlgItemMessageW(dialog, CHECK_REPORT_ID, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(dialog, CHECK_REPORT_ID, WM_COPY, 0, 0);
  }
  return TRUE;
}

INT_PTR CALLBACK CheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
  }
}

}  // namespace

std::wstring DefinitionCheckReport(const std::string& path) {
  const std::wstring widePath = WidePath(path);
  vx::FileByteSource file(path.c_str());
  if (!file.IsOpen()) return CANNOT_READ + widePath + L"\r\n";
  ReportLines report(path);
  const vx::CheckSummary summary = vx::CheckDefinitionStream(file, report);
  if (summary.readFailed) return CANNOT_READ + widePath + L"\r\n";
  report.Finish(summary);
  return std::wstring(summary.findings == 0 ? NO_FINDINGS : SOME_FINDINGS) + L"\r\n\r\n" + report.text;
}

void ShowDefinitionCheck(HWND owner, const std::wstring& report) {
  DialogTemplate dialog(DIALOG_TITLE, WS_POPUP | WS_CAPTION | WS_SYSMENU, 400, 220, 3);
  dialog.Item(EDIT_ATOM, CHECK_REPORT_ID, L"",
              WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
              7, 7, 386, 184);
  dialog.Item(BUTTON_ATOM, COPY_BUTTON_ID, COPY_CAPTION, WS_TABSTOP | BS_PUSHBUTTON, 236, 198, 80, 15);
  dialog.Item(BUTTON_ATOM, IDOK, CLOSE_CAPTION, WS_TABSTOP | BS_DEFPUSHBUTTON, 322, 198, 70, 15);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, CheckDialogProc,
                          reinterpret_cast<LPARAM>(report.c_str()));
}

void TEditorFrame::CheckDefinitionFile() {
  prompt_.ShowCheckReport(GetHandle(), DefinitionCheckReport(definitionPath_));
}

}  // namespace vxhost
