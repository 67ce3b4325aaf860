// The palette's host frame: a framework window that is never shown. It owns
// the tag window, gives the add-in a hidden request window as its edit
// window, and at every focus hand-back puts the activation's text into the
// target. Closing the tag window ends the palette.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "framework/framework_win32.h"
#include "hostkit/tag_window_link_win32.h"
#include "palette/insert/insert_into_window_win32.h"
#include "palette/insertion_collector.h"
#include "palette/settings_win32.h"
#include "palette/target_tracker_win32.h"
#include "palette/tray_icon_win32.h"

namespace vxpalette {

// The hidden frame's title, by which a second start finds the running palette.
inline constexpr char FRAME_TITLE[] = "vxpalette";

inline constexpr UINT REOPEN_TAG_WINDOW = WM_APP + 1;  // wParam 1: the old one was closed by the message before
inline constexpr UINT DELIVER_INSERTION = WM_APP + 2;  // posted at the hand-back, out of the tree's key handling
inline constexpr UINT TRAY_CALLBACK = WM_APP + 3;
inline constexpr UINT BRING_FORWARD = WM_APP + 4;      // posted by a second start

enum PaletteCommand : UINT {
  CmdShow = 100,
  CmdDefinitionFile,
  CmdAlwaysOnTop,
  CmdStartWithWindows,
  CmdQuit,
  CmdHotkeyFirst = 200,  // one per row of the hotkey menu
};

class TPaletteFrame : public TFrameWindow {
 public:
  // definitionPath in the system code page, absolute; the settings give the
  // method, the hotkey (none when its key is 0) and the placement on top.
  TPaletteFrame(const char* definitionPath, const PaletteSettings& settings);
  ~TPaletteFrame() override;

  bool LoadAddIn(const wchar_t* libraryPath);
  bool OpenTagWindow();
  HWND FindTagWindow() const;
  HWND RequestWindow() const;
  HWND Target() const;
  TargetTracker& Tracker();
  bool IsTagTree(HWND window) const;

  // The hotkey: brings the tag window forward with the focus in its tree, or,
  // when the palette is already in front, returns to the target.
  void Toggle();
  void ComeForward();
  // Back to the target without inserting anything (Esc in the tree).
  void ReturnToTarget();

  // Registers the hotkey; false (and a notice) when another program holds it.
  bool UseHotkey(const Hotkey& hotkey);
  // Where notices go: a balloon from the icon, else a message box; tests
  // take them here instead.
  void SetNoticeSink(std::function<void(const std::wstring&)> sink);
  void ShowTrayIcon();

  InsertOutcome LastOutcome() const;
  // The "%s" of a notice text replaced.
  static std::wstring Formatted(const wchar_t* format, const std::wstring& argument);
  void SetMethod(InsertMethod method);

  static const TResponseTable& ResponseTable();

 protected:
  void SetupWindow() override;
  const TResponseTable& Responses() const override;

 private:
  LRESULT EvActivate(WPARAM wParam, LPARAM lParam);
  LRESULT EvTimer(WPARAM id, LPARAM);
  LRESULT EvHotkey(WPARAM, LPARAM);
  LRESULT EvCommand(WPARAM wParam, LPARAM lParam);
  LRESULT EvDestroy(WPARAM wParam, LPARAM lParam);
  LRESULT EvDeliverInsertion(WPARAM, LPARAM);
  LRESULT EvReopenTagWindow(WPARAM closed, LPARAM);
  LRESULT EvTrayCallback(WPARAM, LPARAM mouseMessage);
  LRESULT EvBringForward(WPARAM, LPARAM);

  void Deliver(const InsertionText& text);
  void Notify(const std::wstring& text);
  void ShowMenu();
  void ChooseDefinitionFile();
  void ApplyAlwaysOnTop();
  void EndWhenTagWindowClosed();

  vxhost::TagWindowLink addIn_;
  std::string definitionPath_;
  PaletteSettings settings_;
  InsertionCollector collector_;
  TargetTracker tracker_;
  TrayIcon trayIcon_;
  HWND requests_ = nullptr;
  bool hotkeyRegistered_ = false;
  bool tagWindowOpened_ = false;  // once open, its closing ends the palette
  bool reopening_ = false;
  InsertOutcome lastOutcome_ = InsertOutcome::NoTarget;
  std::function<void(const std::wstring&)> noticeSink_;
};

}  // namespace vxpalette
