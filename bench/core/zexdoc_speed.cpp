// Emulated speed of the processor core: runs zexdoc (a whole run, or only its
// first tests) several times and prints T-states per host second in MHz, for
// each run and as the median. Build in Release for meaningful figures.
//
//   zexdoc_speed [--tests N] [--runs R]
//     --tests N  stop after the first N of the 67 exerciser tests (default: all,
//                about 46.7 billion T-states; the first 3 take 4.5 billion,
//                the first 6 already 26 billion)
//     --runs R   number of timed runs, 1 to 99 (default 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/core/cpm_machine.h"
#include "tests/core/exerciser_run.h"

namespace {

constexpr uint64_t kTStateBudget = 80'000'000'000;

struct Options {
  int tests = 0;  // 0: the whole program
  int runs = 3;
};

bool parse_count(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool parse_options(int argc, char** argv, Options* options) {
  for (int n = 1; n < argc; ++n) {
    const bool has_value = n + 1 < argc;
    if (std::strcmp(argv[n], "--tests") == 0 && has_value) {
      if (!parse_count(argv[++n], 1, 67, &options->tests)) return false;
    } else if (std::strcmp(argv[n], "--runs") == 0 && has_value) {
      if (!parse_count(argv[++n], 1, 99, &options->runs)) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, &options)) {
    std::fprintf(stderr, "usage: %s [--tests N (1-67)] [--runs R (1-99)]\n", argv[0]);
    return 2;
  }
  const std::string path = exerciser_path("zexdoc.com");

  std::vector<double> speeds;
  for (int run_number = 1; run_number <= options.runs; ++run_number) {
    CpmMachine machine;
    if (!machine.load_program(path)) {
      std::fprintf(stderr, "cannot load %s\n", path.c_str());
      return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const ExerciserRun run = run_exerciser(machine, options.tests, kTStateBudget, [](const std::string&) {});
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    const double mhz = static_cast<double>(run.t_states) / elapsed.count() / 1e6;
    speeds.push_back(mhz);
    std::printf("run %d: %zu tests, %zu errors, %llu T-states in %.2f s: %.0f MHz\n", run_number, run.results.size(),
                run.errors.size(), static_cast<unsigned long long>(run.t_states), elapsed.count(), mhz);
    for (const std::string& error : run.errors) std::printf("  %s\n", error.c_str());
    if (!run.errors.empty() || (options.tests == 0 && !run.finished)) {
      std::fprintf(stderr, "the core fails zexdoc; its speed means nothing until it passes\n");
      return 1;
    }
  }
  std::sort(speeds.begin(), speeds.end());
  const size_t middle = speeds.size() / 2;
  const double median = speeds.size() % 2 == 1 ? speeds[middle] : (speeds[middle - 1] + speeds[middle]) / 2;
  std::printf("median of %d runs: %.0f MHz\n", options.runs, median);
  return 0;
}
