// The sample editor's main window: a frame filled by one multi-line Unicode
// edit control, with the File and Tools menus, the host side of the add-in's
// protocol, files dropped on it, and the user's work kept when the session ends.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

#include "framework/framework_win32.h"
#include "host/document_file_win32.h"
#include "host/edit_protocol_win32.h"
#include "host/editor_prompt_win32.h"
#include "host/recovery_win32.h"
#include "hostkit/definition_file_dialog_win32.h"
#include "hostkit/paths_win32.h"
#include "hostkit/tag_window_link_win32.h"

namespace vxhost {

enum MenuCommand : UINT {
  CmdNew = 101,
  CmdOpen = 102,
  CmdSave = 103,
  CmdSaveAs = 104,
  CmdExit = 105,
  CmdReopenShiftJis = 106,
  CmdReopenUtf8 = 107,
  CmdTagWindow = 201,
  CmdDefinitionFile = 202,
  CmdCheckDefinitionFile = 203,
};

inline constexpr int EDIT_CONTROL_ID = 100;
// Posted to the frame to reopen the tag window: the closed tag window's object
// is deleted after the message that closed it, and only then can the add-in
// open a new one. wParam 1: the old one was closed by the message before.
inline constexpr UINT REOPEN_TAG_WINDOW = WM_APP + 1;

// Opens a recovery file in an editor window of its own; false when none could start.
using RecoveryOpener = std::function<bool(const std::wstring& recoveryFile)>;
// Another vxhost.exe, started with --recover.
bool OpenRecoveryInNewEditor(const std::wstring& recoveryFile);

class TEditorFrame : public TFrameWindow {
 public:
  // The definition file handed to the add-in at every opening of the tag
  // window; the prompt asks and tells the user, and outlives the frame.
  TEditorFrame(const char* definitionPath, EditorPrompt& prompt);
  ~TEditorFrame() override;

  HWND EditWindow() const { return edit_; }
  HACCEL Accelerators() const { return acceleratorTable_; }
  const std::wstring& DocumentPath() const { return path_; }
  Encoding DocumentEncoding() const { return format_.encoding; }
  TagWindowLink& Link() { return addIn_; }

  // A new document is UTF-8.
  void NewDocument();
  // encoding null: the one the file is most likely in.
  bool OpenDocument(const std::wstring& path, const Encoding* encoding = nullptr);
  // Reads the document's file again in the given encoding.
  bool ReopenDocument(Encoding encoding);
  // A document or a definition file (by its extension), as named on the
  // command line or dropped on the window.
  void OpenFile(const std::wstring& path);
  // Saves under the given path, or the current one; asks for one when there is none.
  bool SaveDocument(const wchar_t* path = nullptr);
  // Saves under a new path in the given encoding; the dialog's form asks for both.
  bool SaveDocumentAs(const std::wstring& path, Encoding encoding);
  bool SaveDocumentAs();

  // Asks about each work the last sessions left unsaved, one after another
  // (while nobody can answer, it stays for a later start), and tells what could not be kept. The first one
  // restored comes into this window unless a document was asked for (then
  // only that document's work does); every other opens in an editor of its own.
  // Returns whether this window now holds restored work.
  bool OfferRecovery(const std::wstring& requestedDocument = std::wstring());
  // Restores a recovery file the user already agreed to (--recover).
  bool RecoverFile(const std::wstring& recoveryFile);
  void SetRecoveryOpener(RecoveryOpener opener) { openRecovery_ = std::move(opener); }

  // Opens the tag window when none is open and closes it otherwise.
  void ToggleTagWindow();
  bool OpenTagWindow();
  HWND FindTagWindow() const;

  const std::string& DefinitionFile() const { return definitionPath_; }
  // Asks for a definition file with the open dialog.
  void ChooseDefinitionFile();
  // Takes path as the definition file and, from the message loop, reopens the
  // tag window on it (or opens it).
  void UseDefinitionFile(const char* path);
  // The same for a path as the system names it; one the add-in cannot be
  // given (AddInPath) is told, and the previous definition file stays.
  bool UseDefinitionFile(const std::wstring& path);
  // Shows what the check finds in the definition file.
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
  LRESULT EvDropFiles(WPARAM wParam, LPARAM lParam);
  LRESULT EvQueryEndSession(WPARAM wParam, LPARAM lParam);
  LRESULT EvEndSession(WPARAM wParam, LPARAM lParam);
  LRESULT EvReopenTagWindow(WPARAM wParam, LPARAM lParam);
  LRESULT EvDpiChanged(WPARAM wParam, LPARAM lParam);

  void ChooseDocumentToOpen();
  // The document's font, sized for the DPI the frame is shown at.
  void UpdateFont(UINT dpi);
  bool EnsureAddIn();
  // Whether a modified document may be replaced or closed; discarded: the
  // user answered that its changes are given up.
  bool ConfirmDiscard(bool* discarded = nullptr);
  // False when the user declines to save a text whose <meta charset> names
  // another encoding than the one it is saved in.
  bool ConfirmCharset(Encoding encoding);
  bool SaveAs(const std::wstring& path, DocumentFormat format);
  void KeepWorkAtSessionEnd();
  void Restore(const std::wstring& text, const std::wstring& path, const DocumentFormat& format);
  void Recover(const std::wstring& file, bool whole, const Recovery& recovery, const std::wstring& raw);
  void Report(const std::wstring& text);
  void UpdateTitle();
  // Registers a shutdown block reason while the document holds unsaved
  // changes, and withdraws it once they are saved or discarded.
  void UpdateShutdownBlock();
  bool Modified() const;
  // The end of a load or save: a failure is reported, and after a success
  // the document is that file.
  bool Adopt(FileResult result, const std::wstring& path);

  std::string definitionPath_;
  std::wstring path_;
  DocumentFormat format_;
  HWND edit_ = nullptr;
  HACCEL acceleratorTable_ = nullptr;
  HFONT font_ = nullptr;
  EditProtocol protocol_;
  TagWindowLink addIn_;
  EditorPrompt& prompt_;
  RecoveryOpener openRecovery_ = &OpenRecoveryInNewEditor;
  bool addInMissingReported_ = false;
  bool shutdownBlocked_ = false;
  // The user answered No to saving when asked at the end of the session.
  bool discardedAtSessionEnd_ = false;
};

}  // namespace vxhost
