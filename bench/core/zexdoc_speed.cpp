// Emulated speed of the processor core: runs zexdoc (a whole run, or only its
// first tests) several times and prints T-states per host second in MHz, for
// each run and as the median. Build in Release for meaningful figures. The
// figure per second of processor time is printed beside the one per second of
// wall-clock time: on a busy machine the two differ, and the first still says
// how fast the core is.
//
//   zexdoc_speed [--tests N] [--runs R] [--plain-memory]
//     --tests N  stop after the first N of the 67 exerciser tests (default: all,
//                about 46.7 billion T-states; the first 3 take 4.5 billion,
//                the first 6 already 26 billion)
//     --runs R   number of timed runs, 1 to 99 (default 3)
//     --plain-memory
//                the core reads memory straight from the bytes instead of
//                calling the read callback (writes still call theirs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/core/exerciser.h"

namespace {

struct Options {
  int tests = 0;  // 0: the whole program
  int runs = 3;
  bool plain_memory = false;
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
    } else if (std::strcmp(argv[n], "--plain-memory") == 0) {
      options->plain_memory = true;
    } else {
      return false;
    }
  }
  return true;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, &options)) {
    std::fprintf(stderr, "usage: %s [--tests N (1-67)] [--runs R (1-99)] [--plain-memory]\n", argv[0]);
    return 2;
  }
  std::vector<double> wall_speeds;
  std::vector<double> cpu_speeds;
  for (int run_number = 1; run_number <= options.runs; ++run_number) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    const ExerciserRun run = run_exerciser("zexdoc.com", options.tests, false, options.plain_memory);
    const double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    const std::chrono::duration<double> wall_seconds = std::chrono::steady_clock::now() - start;

    if (!run.loaded) {
      std::fprintf(stderr, "cannot load %s/zexdoc.com\n", VORN_Z80TESTS_DIR);
      return 1;
    }
    const double t_states = static_cast<double>(run.t_states);
    wall_speeds.push_back(t_states / wall_seconds.count() / 1e6);
    cpu_speeds.push_back(t_states / cpu_seconds / 1e6);
    std::printf("run %d: %zu tests, %zu errors, %.0f T-states in %.2f s (%.2f s of processor time): %.0f MHz (%.0f MHz)\n",
                run_number, run.results.size(), run.errors.size(), t_states, wall_seconds.count(), cpu_seconds,
                wall_speeds.back(), cpu_speeds.back());
    for (const std::string& error : run.errors) std::printf("  %s\n", error.c_str());
    if (!run.errors.empty() || (options.tests == 0 && !run.finished)) {
      std::fprintf(stderr, "the core fails zexdoc; its speed means nothing until it passes\n");
      return 1;
    }
  }
  std::printf("%s, median of %d runs: %.0f MHz (%.0f MHz per second of processor time)\n",
              options.plain_memory ? "plain memory" : "read callback", options.runs,
              median(wall_speeds), median(cpu_speeds));
  return 0;
}
