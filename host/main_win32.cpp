// vxhost.exe: the sample editor that hosts the tag window; its command line
// is in host/command_line_win32.h. Without a definition file it uses the
// HTML5 library, html5.def beside the program.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/framework_win32.h"
#include "host/command_line_win32.h"
#include "host/demo_win32.h"
#include "host/editor_frame_win32.h"
#include "host/editor_texts_win32.h"
#include "hostkit/dpi_awareness_win32.h"

namespace {

// Accelerators work wherever the focus is, the tag window included, and all
// go to the editor frame. The frame is asked of the application each time:
// its object is gone before the loop has seen the last queued messages.
class THostApplication : public TApplication {
 public:
  using TApplication::TApplication;

 protected:
  bool ProcessAppMsg(MSG& msg) override {
    auto* frame = static_cast<vxhost::TEditorFrame*>(GetMainWindow());
    return frame && frame->GetHandle() && frame->Accelerators() &&
           TranslateAcceleratorW(frame->GetHandle(), frame->Accelerators(), &msg);
  }
};

// One the add-in cannot be given is told, and the default serves.
std::string DefinitionFile(const vxhost::CommandLine& options) {
  const std::string fallback = vxhost::BesideProgram(vxhost::DEFAULT_DEFINITION_FILE);
  if (options.definitionPath.empty()) return fallback;
  std::string narrow;
  if (vxhost::AddInPath(options.definitionPath, narrow)) return narrow;
  MessageBoxW(nullptr,
              vxhost::DescribeDefinitionPathUnusable(options.definitionPath, GetACP(), vxhost::WidePath(fallback)).c_str(),
              vxhost::PROGRAM_NAME, MB_OK | MB_ICONWARNING);
  return fallback;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  vxhost::DeclareDpiAwareness();
  vxhost::CommandLine options;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool parsed = argv && vxhost::ParseCommandLine(argc, argv, options);
  LocalFree(argv);
  if (!parsed) {
    MessageBoxW(nullptr, vxhost::USAGE, vxhost::PROGRAM_NAME, MB_OK);
    return 2;
  }
  // Before the application, which deletes the frame: the demo's script
  // stops at any box, and its prompt asks nobody.
  vxhost::MessageBoxPrompt user;
  vxhost::ScriptedPrompt script;
  vxhost::EditorPrompt& prompt = options.demo ? static_cast<vxhost::EditorPrompt&>(script) : user;
  THostApplication app(instance);
  auto* frame = new vxhost::TEditorFrame(DefinitionFile(options).c_str(), prompt);
  app.SetMainWindow(frame);
  frame->attr.style &= ~WS_VISIBLE;
  if (!frame->Create()) return 1;
  ShowWindow(frame->GetHandle(), options.demo ? SW_SHOWNORMAL : show);
  UpdateWindow(frame->GetHandle());

  if (options.demo) {
    if (!vxhost::StartDemo(*frame, vxhost::NarrowPath(options.documentPath), vxhost::NarrowPath(options.outDir))) {
      return 1;
    }
  } else {
    if (!options.recoveryFile.empty()) {
      frame->RecoverFile(options.recoveryFile);
    } else {
      // The document asked for opens whatever else the last session left.
      const std::wstring requested = options.documentPath.empty() ? std::wstring() : vxhost::FullPath(options.documentPath);
      if (!frame->OfferRecovery(requested) && !requested.empty()) frame->OpenFile(options.documentPath);
    }
    if (options.openTagWindow) frame->OpenTagWindow();
  }
  int code = app.MessageLoop();
  return options.demo ? vxhost::DemoExitCode() : code;
}
