// The definition file loader against the cheapest possible reading of the
// same file: fgets into a 256-byte buffer until the end. Both open the file
// each time. Prints loader time / loop time; the target is at most 1.
//
// The file holds 3000 entries with 255-byte labels and 255-byte texts: each
// entry is one 511-byte line that the 255-byte reads cut into label, text and
// an empty rest, so both sides make the same three reads per entry.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "deffile/definition_loader.h"

namespace {

std::string g_path;

class CountingSink : public vx::DefinitionSink {
 public:
  vx::DefinitionItem AddItem(vx::DefinitionItem, const char* caption, vx::UserItemKind, std::int32_t) override {
    benchmark::DoNotOptimize(caption);
    return ++items;
  }
  vx::DefinitionItem items = 0;
};

bool WriteBenchFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "%s\r\n", vx::DEFINITION_HEADER);
  const std::string label(255, 'L');
  const std::string text = "<" + std::string(253, 't') + ">";
  for (int i = 0; i < 3000; ++i) std::fprintf(file, "%s%s\r\n", label.c_str(), text.c_str());
  return std::fclose(file) == 0;
}

void LoadDefinitionFileBench(benchmark::State& state) {
  for (auto _ : state) {
    CountingSink sink;
    vx::LoadDefinitionFile(g_path.c_str(), sink);
    if (sink.items != 3000) state.SkipWithError("the file did not load 3000 entries");
  }
}

void FgetsLoopBench(benchmark::State& state) {
  char line[256];
  for (auto _ : state) {
    std::FILE* file = std::fopen(g_path.c_str(), "rb");
    while (std::fgets(line, sizeof line, file) != nullptr) benchmark::DoNotOptimize(line);
    std::fclose(file);
  }
}

// Keeps the median of each benchmark's repetitions while printing as usual.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.aggregate_name == "median") medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

}  // namespace

BENCHMARK(LoadDefinitionFileBench)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FgetsLoopBench)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);

// --fail-above=R: exit 1 when the ratio exceeds R (for grossly slow loaders only).
int main(int argc, char** argv) {
  double failAbove = 0;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--fail-above=", 13) == 0) {
      failAbove = std::atof(argv[i] + 13);
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  const char* dir = std::getenv("TMPDIR");
  g_path = std::string(dir != nullptr ? dir : "/tmp") + "/vx-deffile-bench.txt";
  if (!WriteBenchFile(g_path)) {
    std::fprintf(stderr, "cannot write %s\n", g_path.c_str());
    return 2;
  }
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::remove(g_path.c_str());
  const double loader = reporter.medians["LoadDefinitionFileBench"];
  const double loop = reporter.medians["FgetsLoopBench"];
  if (loader <= 0 || loop <= 0) return 2;
  const double ratio = loader / loop;
  std::printf("deffile: loader / fgets loop = %.2f (target <= 1.00)\n", ratio);
  return failAbove > 0 && ratio > failAbove ? 1 : 0;
}
