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
  bool demo = false;
  bool openTagWindow = false;
  std::string documentPath;
  std::string outDir;
  std::string definitionPath;
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
      options.demo = true;
      options.documentPath = argv[++i];
      options.outDir = argv[++i];
    } else if (std::strcmp(argv[i], "--tag-window") == 0) {
      options.openTagWindow = true;
    } else if (options.definitionPath.empty()) {
      options.definitionPath = FullPath(argv[i]);
    } else {
      return false;
    }
  }
  if (options.definitionPath.empty()) options.definitionPath = vxhost::BesideProgram("sample.def");
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
  auto* frame = new vxhost::TEditorFrame(options.definitionPath.c_str());
  app.SetMainWindow(frame);
  frame->attr.style &= ~WS_VISIBLE;
  if (!frame->Create()) return 1;
  ShowWindow(frame->GetHandle(), options.demo ? SW_SHOWNORMAL : show);
  UpdateWindow(frame->GetHandle());

  if (options.demo) {
    if (!vxhost::StartDemo(*frame, options.documentPath, options.outDir)) return 1;
  } else if (options.openTagWindow) {
    frame->OpenTagWindow();
  }
  int code = app.MessageLoop();
  return options.demo ? vxhost::DemoExitCode() : code;
}
