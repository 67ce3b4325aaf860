// vxhost.exe: the sample editor that hosts the tag window.
//   vxhost.exe [--tag-window] [definition-file]
//   vxhost.exe --demo DOCUMENT OUT-DIR [definition-file]
// Without a definition file it uses sample.def beside the program.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/framework_win32.h"
#include "host/demo_win32.h"
#include "host/editor_frame_win32.h"

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
           TranslateAcceleratorA(frame->GetHandle(), frame->Accelerators(), &msg);
  }
};

struct Options {
  bool Demo = false;
  bool OpenTagWindow = false;
  std::string DocumentPath;
  std::string OutDir;
  std::string DefinitionPath;
};

// The file dialogs move the current folder, and the tag window reads its
// definition file at every opening: a relative name must not follow them.
std::string FullPath(const char* path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : std::string(path);
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--demo") == 0) {
      if (i + 2 >= argc) return false;
      options.Demo = true;
      options.DocumentPath = argv[++i];
      options.OutDir = argv[++i];
    } else if (std::strcmp(argv[i], "--tag-window") == 0) {
      options.OpenTagWindow = true;
    } else if (options.DefinitionPath.empty()) {
      options.DefinitionPath = FullPath(argv[i]);
    } else {
      return false;
    }
  }
  if (options.DefinitionPath.empty()) options.DefinitionPath = vxhost::BesideProgram("sample.def");
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  Options options;
  if (!ParseOptions(__argc, __argv, options)) {
    MessageBoxA(nullptr, "vxhost.exe [--tag-window] [definition-file]\n"
                "vxhost.exe --demo DOCUMENT OUT-DIR [definition-file]", "vxhost", MB_OK);
    return 2;
  }
  THostApplication app(instance);
  auto* frame = new vxhost::TEditorFrame(options.DefinitionPath.c_str());
  app.SetMainWindow(frame);
  frame->Attr.Style &= ~WS_VISIBLE;
  if (!frame->Create()) return 1;
  ShowWindow(frame->GetHandle(), options.Demo ? SW_SHOWNORMAL : show);
  UpdateWindow(frame->GetHandle());

  if (options.Demo) {
    if (!vxhost::StartDemo(*frame, options.DocumentPath, options.OutDir)) return 1;
  } else if (options.OpenTagWindow) {
    frame->OpenTagWindow();
  }
  int code = app.MessageLoop();
  return options.Demo ? vxhost::DemoExitCode() : code;
}
