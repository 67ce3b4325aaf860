// The palette's icon in the notification area, and the balloons it shows.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace vxpalette {

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // Mouse events on the icon arrive at owner as callbackMessage, lParam the
  // mouse message. False where there is no notification area.
  bool Add(HWND owner, UINT callbackMessage, const wchar_t* tip);
  void Remove();
  bool IsShown() const;
  bool Balloon(const wchar_t* title, const std::wstring& text);

 private:
  NOTIFYICONDATAW data_{};
  bool shown_ = false;
};

}  // namespace vxpalette
