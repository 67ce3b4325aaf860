// What wine-run.sh must tell apart: a crash, a failure that wrote nothing,
// and a run that must be stopped from outside; and the code page it sets.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  if (std::strcmp(mode, "crash") == 0) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (std::strcmp(mode, "silent-failure") == 0) return 7;
  if (std::strcmp(mode, "code-page") == 0) std::printf("%u\n", GetACP());
  if (std::strcmp(mode, "wait") == 0) {
    // The run's prefix and display, for the test to see them go.
    std::printf("%s %s\n", std::getenv("WINEPREFIX"), std::getenv("DISPLAY"));
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
  }
  return 0;
}
