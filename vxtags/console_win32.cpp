// The program's entry on Windows: wide-character arguments as UTF-8, and
// standard streams that take the same UTF-8 bytes as on Linux. Files and pipes
// get those bytes unchanged (binary mode: "\n" stays one byte); a console
// gets them as wide characters (WriteConsoleW), so Japanese shows whatever
// the console's code page is.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "vxtags/commands.h"

namespace {

std::string Utf8FromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

// Length of the part of bytes that holds whole UTF-8 sequences; the rest
// waits for the next chunk.
std::size_t WholeSequences(const std::string& bytes) {
  std::size_t end = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const unsigned char b = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((b & 0xC0) == 0x80) continue;
    const std::size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (need > back) end = bytes.size() - back;
    break;
  }
  return end;
}

// One console stream: the C runtime writes its bytes into a pipe, and a
// thread turns them into wide characters for the console.
struct ConsoleRelay {
  int fd = -1;
  HANDLE console = nullptr;
  HANDLE readEnd = nullptr;
  HANDLE thread = nullptr;
};

ConsoleRelay Relays[2];

DWORD WINAPI RelayToConsole(void* parameter) {
  const ConsoleRelay& relay = *static_cast<ConsoleRelay*>(parameter);
  std::string pending;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(relay.readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    pending.append(chunk, got);
    const std::size_t whole = WholeSequences(pending);
    if (whole == 0) continue;
    const int size = MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(size) + 1);
    MultiByteToWideChar(CP_UTF8, 0, pending.data(), static_cast<int>(whole), wide.data(), size);
    DWORD written = 0;
    WriteConsoleW(relay.console, wide.data(), static_cast<DWORD>(size), &written, nullptr);
    pending.erase(0, whole);
  }
  return 0;
}

void StartRelay(ConsoleRelay& relay, int fd, DWORD standard) {
  _setmode(fd, _O_BINARY);
  const HANDLE handle = GetStdHandle(standard);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) return;
  // A handle of our own: moving the pipe onto fd closes the one fd held.
  HANDLE console = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &console, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&relay.readEnd, &writeEnd, nullptr, 0)) return;
  const int pipeFd = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_BINARY | _O_WRONLY);
  if (pipeFd < 0 || _dup2(pipeFd, fd) != 0) return;
  _close(pipeFd);
  relay.fd = fd;
  relay.console = console;
  relay.thread = CreateThread(nullptr, 0, RelayToConsole, &relay, 0, nullptr);
}

// Everything written reaches the console before the program ends.
void FinishRelays() {
  std::fflush(stdout);
  std::fflush(stderr);
  for (ConsoleRelay& relay : Relays) {
    if (relay.thread == nullptr) continue;
    _close(relay.fd);
    WaitForSingleObject(relay.thread, INFINITE);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8FromWide(argv[i]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  StartRelay(Relays[0], _fileno(stdout), STD_OUTPUT_HANDLE);
  StartRelay(Relays[1], _fileno(stderr), STD_ERROR_HANDLE);
  const int status = vxtags::Main(argc, pointers.data());
  FinishRelays();
  return status;
}
