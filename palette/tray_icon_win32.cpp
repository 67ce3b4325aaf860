#include "palette/tray_icon_win32.h"

#include <cwchar>

namespace vxpalette {
namespace {

constexpr UINT ICON_ID = 1;
constexpr WORD APPLICATION_ICON = 32512;  // IDI_APPLICATION, asked for by the wide call

}  // namespace

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(HWND owner, UINT callbackMessage, const wchar_t* tip) {
  Remove();
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = ICON_ID;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(APPLICATION_ICON));;
  std::wcsncpy(data_.szTip, tip, sizeof data_.szTip / sizeof data_.szTip[0] - 1);
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return shown_;
}

void TrayIcon::Remove() {
  if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
  shown_ = false;
}

bool TrayIcon::IsShown() const { return shown_; }

bool TrayIcon::Balloon(const wchar_t* title, const std::wstring& text) {
  if (!shown_) return false;
  NOTIFYICONDATAW balloon = data_;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = NIIF_INFO;
  std::wcsncpy(balloon.szInfoTitle, title, sizeof balloon.szInfoTitle / sizeof balloon.szInfoTitle[0] - 1);
  std::wcsncpy(balloon.szInfo, text.c_str(), sizeof balloon.szInfo / sizeof balloon.szInfo[0] - 1);
  return Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

}  // namespace vxpalette
