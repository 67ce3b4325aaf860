// vxpalette.exe: the tag window for any program; its command line is in
// palette/command_line.h. Without a definition file it uses the HTML5
// library, html5.def beside the program.
//
// vxframe.dll is imported, so a missing one stops the program in the system
// loader, before any code of ours runs: Windows then names the missing DLL
// itself. vxhtml.dll is loaded here, and its absence is told by name.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "framework/framework_win32.h"
#include "hostkit/dpi_awareness_win32.h"
#include "hostkit/paths_win32.h"
#include "palette/command_line.h"
#include "palette/palette_application_win32.h"
#include "palette/palette_frame_win32.h"
#include "palette/palette_texts_win32.h"

namespace {

const wchar_t INSTANCE_MUTEX[] = L"Local\\VxPaletteSingleInstance";
const wchar_t ADDIN_FILE[] = L"vxhtml.dll";
constexpr DWORD FIND_RUNNING_BOUND_MS = 3000;
constexpr DWORD FIND_RUNNING_STEP_MS = 50;

void Tell(const std::wstring& text, UINT icon) { MessageBoxW(nullptr, text.c_str(), vxpalette::PROGRAM_NAME, MB_OK | icon); }

// A second start: the running palette comes forward instead.
bool BringRunningForward() {
  for (DWORD waited = 0; waited < FIND_RUNNING_BOUND_MS; waited += FIND_RUNNING_STEP_MS) {
    if (HWND running = FindWindowA(TWindow::DefaultClassName(), vxpalette::FRAME_TITLE)) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      AllowSetForegroundWindow(process);
      return PostMessageW(running, vxpalette::BRING_FORWARD, 0, 0) != FALSE;
    }
    Sleep(FIND_RUNNING_STEP_MS);
  }
  return false;
}

std::string DefinitionFile(const vxpalette::CommandLine& options, const vxpalette::PaletteSettings& settings) {
  if (!options.definitionPath.empty()) {
    const std::wstring path(options.definitionPath.begin(), options.definitionPath.end());
    return vxhost::FullPath(vxhost::NarrowPath(path).c_str());
  }
  if (!settings.definitionPath.empty() && GetFileAttributesW(settings.definitionPath.c_str()) != INVALID_FILE_ATTRIBUTES)
    return vxhost::NarrowPath(settings.definitionPath);
  return vxhost::BesideProgram(vxhost::DEFAULT_DEFINITION_FILE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  vxhost::DeclareDpiAwareness();
  // Taken first: the window in front while the palette starts is the first target.
  HWND firstTarget = GetForegroundWindow();
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::u16string> arguments;
  for (int i = 1; argv && i < argc; ++i) arguments.emplace_back(argv[i], argv[i] + wcslen(argv[i]));
  LocalFree(argv);
  vxpalette::CommandLine options;
  if (!vxpalette::ParseCommandLine(arguments, options) || options.help) {
    Tell(vxpalette::USAGE, options.help ? MB_ICONINFORMATION : MB_ICONWARNING);
    return options.help ? 0 : 2;
  }

  HANDLE instanceMutex = CreateMutexW(nullptr, FALSE, INSTANCE_MUTEX);
  if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (BringRunningForward()) return 0;
    Tell(vxpalette::NO_ANSWER_FROM_RUNNING, MB_ICONWARNING);
    return 1;
  }

  vxpalette::PaletteSettings settings = vxpalette::LoadSettings();
  if (options.methodGiven) settings.method = options.method;
  if (options.hotkeyGiven) settings.hotkey = options.hotkey;

  vxpalette::TPaletteApplication app(instance);
  auto* frame = new vxpalette::TPaletteFrame(DefinitionFile(options, settings).c_str(), settings);
  app.SetMainWindow(frame);
  const std::wstring addIn = vxhost::BesideProgram(ADDIN_FILE);
  if (!frame->LoadAddIn(addIn.c_str())) {
    Tell(vxpalette::TPaletteFrame::Formatted(vxpalette::MISSING_ADDIN, addIn), MB_ICONERROR);
    return 1;
  }
  if (!frame->Create()) return 1;
  frame->Tracker().Consider(firstTarget);
  frame->ShowTrayIcon();
  if (!frame->OpenTagWindow()) return 1;
  frame->UseHotkey(settings.hotkey);
  const int code = app.MessageLoop();
  if (instanceMutex) CloseHandle(instanceMutex);
  return code;
}
