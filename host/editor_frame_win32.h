// The sample editor's main window: a frame filled by one multi-line edit
// control, with the File and Tools menus, and the host side of the add-in's
// protocol.
#pragma once
#include <windows.h>

#include <string>

#include "framework/framework_win32.h"
#include "host/document_file_win32.h"
#include "host/edit_protocol_win32.h"
#include "host/tag_window_link_win32.h"

namespace vxhost {

enum MenuCommand : UINT {
  CmdNew = 101,
  CmdOpen = 102,
  CmdSave = 103,
  CmdSaveAs = 104,
  CmdExit = 105,
  CmdTagWindow = 201,
  CmdDefinitionFile = 202,
  CmdCheckDefinitionFile = 203,
};

// The definition file the editor starts with, beside the program.
inline constexpr char DEFAULT_DEFINITION_FILE[] = "html5.def";

inline constexpr int EDIT_CONTROL_ID = 100;
// Posted to the frame to reopen the tag window: the closed tag window's object
// is deleted after the message that closed it, and only then can the add-in
// open a new one. wParam 1: the old one was closed by the message before.
inline constexpr UINT REOPEN_TAG_WINDOW = WM_APP + 1;

class TEditorFrame : public TFrameWindow {
 public:
  // The definition file handed to the add-in at every opening of the tag window.
  explicit TEditorFrame(const char* definitionPath);
  ~TEditorFrame() override;

  HWND EditWindow() const { return edit_; }
  HACCEL Accelerators() const { return acceleratorTable_; }
  const std::string& DocumentPath() const { return path_; }
  TagWindowLink& Link() { return addIn_; }

  // Off: no message boxes and no file dialogs (scripted runs and tests);
  // failures are only returned.
  void SetInteractive(bool interactive) { interactive_ = interactive; }
  // What the editor last told the user (or would have, when not interactive).
  const std::wstring& LastReport() const { return lastReport_; }

  void NewDocument();
  bool OpenDocument(const char* path);
  // Saves under the given path, or the current one; asks for one when there is none.
  bool SaveDocument(const char* path = nullptr);
  bool SaveDocumentAs();

  // Opens the tag window when none is open and closes it otherwise.
  void ToggleTagWindow();
  bool OpenTagWindow();
  HWND FindTagWindow() const;

  const std::string& DefinitionFile() const { return definitionPath_; }
  // Asks for a definition file with the open dialog (interactive only).
  void ChooseDefinitionFile();
  // Takes path as the definition file and, from the message loop, reopens the
  // tag window on it (or opens it).
  void UseDefinitionFile(const char* path);
  // Shows what the check finds in the definition file (the report is also
  // LastReport(); the dialog only when interactive).
  void CheckDefinitionFile();

  bool CanClose() override;

  static const TResponseTable& ResponseTable();

 protected:
  void SetupWindow() override;
  const TResponseTable& Responses() const override;

 private:
  LRESULT EvSize(WPARAM wParam, LPARAM lParam);
  LRESULT EvActivate(WPARAM wParam, LPARAM lParam);
  LRESULT EvSetFocus(WPARAM wParam, LPARAM lParam);
  LRESULT EvCommand(WPARAM wParam, LPARAM lParam);
  LRESULT EvQueryEndSession(WPARAM wParam, LPARAM lParam);
  LRESULT EvReopenTagWindow(WPARAM wParam, LPARAM lParam);

  bool EnsureAddIn();
  bool ConfirmDiscard();
  void Report(const char* text);
  void Report(const std::wstring& text);
  void UpdateTitle();
  // The end of a load or save: a failure is reported, and after a success
  // the document is that file.
  bool Adopt(FileResult result, const char* path);

  std::string definitionPath_;
  std::string path_;
  std::wstring lastReport_;
  HWND edit_ = nullptr;
  HACCEL acceleratorTable_ = nullptr;
  HFONT font_ = nullptr;
  EditProtocol protocol_;
  TagWindowLink addIn_;
  bool interactive_ = true;
  bool addInMissingReported_ = false;
};

}  // namespace vxhost
