// The definition file loader against the cheapest possible reading of the
// same file: fgets into a 256-byte buffer until the end. Both open the file
// each time. Prints loader time / loop time; the target is at most 1.
//
// The file holds 3000 entries with 255-byte labels and 255-byte texts: each
// entry is one 511-byte line that the 255-byte reads cut into label, text and
// an empty rest, so both sides make the same three reads per entry.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "deffile/definition_loader.h"

namespace {

constexpr int ROUNDS = 21;
constexpr int LOADS_PER_ROUND = 20;
// Where both sides leave a trace of what they read, so neither is optimised away.
volatile unsigned long Trace = 0;

class CountingSink : public vx::DefinitionSink {
 public:
  vx::DefinitionItem AddItem(vx::DefinitionItem, const char* caption, vx::UserItemKind, std::int32_t) override {
    checksum += static_cast<unsigned char>(caption[0]);
    return ++items;
  }
  vx::DefinitionItem items = 0;
  unsigned long checksum = 0;
};

bool WriteBenchFile(int fd) {
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "%s\r\n", vx::DEFINITION_HEADER);
  const std::string label(255, 'L');
  const std::string text = "<" + std::string(253, 't') + ">";
  for (int i = 0; i < 3000; ++i) std::fprintf(file, "%s%s\r\n", label.c_str(), text.c_str());
  return std::fclose(file) == 0;
}

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Returns the time of one round, or a negative value when a load fell short.
double TimeLoader(const char* path, unsigned long& sink) {
  const double start = Seconds();
  for (int i = 0; i < LOADS_PER_ROUND; ++i) {
    CountingSink counting;
    vx::LoadDefinitionFile(path, counting);
    if (counting.items != 3000) return -1;
    sink += counting.checksum;
  }
  return Seconds() - start;
}

double TimeFgetsLoop(const char* path, unsigned long& sink) {
  char line[256];
  const double start = Seconds();
  for (int i = 0; i < LOADS_PER_ROUND; ++i) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return -1;
    while (std::fgets(line, sizeof line, file) != nullptr) sink += static_cast<unsigned char>(line[0]);
    std::fclose(file);
  }
  return Seconds() - start;
}

}  // namespace

// --fail-above=R: exit 1 when the ratio exceeds R (for grossly slow loaders only).
int main(int argc, char** argv) {
  double failAbove = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--fail-above=", 13) == 0) failAbove = std::atof(argv[i] + 13);
  }
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir != nullptr && dir[0] != '\0' ? dir : "/tmp") + "/vx-deffile-bench-XXXXXX";
  const int fd = mkstemp(&path[0]);
  if (fd < 0 || !WriteBenchFile(fd)) {
    std::fprintf(stderr, "deffile: cannot write %s\n", path.c_str());
    if (fd >= 0) std::remove(path.c_str());
    return 2;
  }
  // Alternate the two and keep each one's best round, so that a busy moment
  // of the machine does not land on one side only.
  double loader = 1e9;
  double loop = 1e9;
  unsigned long sink = 0;
  bool complete = true;
  for (int round = 0; round < ROUNDS && complete; ++round) {
    const double ours = TimeLoader(path.c_str(), sink);
    const double theirs = TimeFgetsLoop(path.c_str(), sink);
    complete = ours >= 0 && theirs >= 0;
    loader = std::min(loader, ours);
    loop = std::min(loop, theirs);
  }
  std::remove(path.c_str());
  if (!complete || loader <= 0 || loop <= 0) {
    std::fprintf(stderr, "deffile: the file did not load 3000 entries\n");
    return 2;
  }
  const double ratio = loader / loop;
  Trace = sink;
  std::printf("deffile: loader %.2f ms / fgets loop %.2f ms = %.2f (target <= 1.00)\n",
              loader * 1e3 / LOADS_PER_ROUND, loop * 1e3 / LOADS_PER_ROUND, ratio);
  return failAbove > 0 && ratio > failAbove ? 1 : 0;
}
