// Speed of vorn-headless, as multiples of real time (50 frames/s = 1x):
// a busy program that never halts, and a program that toggles the output
// bit at about 10 kHz while the tape records it.
//
//   machine_bench [frames]     (default 5000 frames, 100 s of emulated time)
//
// Both the wall-clock time and the processor time of the runner are shown:
// on a machine shared with other work the processor time is the steadier
// measure of what the runner itself costs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr double kFramesPerSecond = 50;  // real time

struct Case {
  const char* name;
  const char* program;
  const char* options;
  double goal;  // multiple of real time
};

constexpr Case kCases[] = {
    {"busy program", "busy.bin", "", 200},
    {"10 kHz output while recording", "toggler.bin", " --tape-record 1", 150},
};

struct Timing {
  double wall_seconds;
  double cpu_seconds;
};

double children_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The time the runner took for `frames` frames; false when it failed.
bool time_run(const Case& run, long frames, const std::filesystem::path& folder, Timing& timing) {
  std::filesystem::create_directories(folder / "data");
  std::filesystem::copy_file(std::filesystem::path(VORN_BENCH_PROGRAMS_DIR) / run.program,
                             folder / "data" / "vorn.bin",
                             std::filesystem::copy_options::overwrite_existing);
  const std::string command = "cd '" + folder.string() + "' && '" VORN_HEADLESS_PATH "' --frames " +
                              std::to_string(frames) + run.options;
  const double cpu_start = children_cpu_seconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto end = std::chrono::steady_clock::now();
  timing.cpu_seconds = children_cpu_seconds() - cpu_start;
  timing.wall_seconds = std::chrono::duration<double>(end - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const long frames = argc > 1 ? std::atol(argv[1]) : 5000;
  if (frames <= 0) {
    std::fprintf(stderr, "usage: machine_bench [frames]\n");
    return 2;
  }
  const auto folder = std::filesystem::temp_directory_path() /
                      ("vorn-machine-bench-" + std::to_string(getpid()));
  int status = 0;
  std::printf("vorn-headless, %ld frames (%.0f s emulated); multiples of real time\n", frames,
              frames / kFramesPerSecond);
  for (const Case& run : kCases) {
    Timing timing{};
    if (!time_run(run, frames, folder, timing)) {
      std::printf("%-32s failed to run\n", run.name);
      status = 1;
      continue;
    }
    const double wall_fps = frames / timing.wall_seconds;
    const double cpu_fps = frames / timing.cpu_seconds;
    std::printf("%-32s wall: %6.0f frames/s %6.1fx   cpu: %6.0f frames/s %6.1fx   (goal %.0fx)\n",
                run.name, wall_fps, wall_fps / kFramesPerSecond, cpu_fps,
                cpu_fps / kFramesPerSecond, run.goal);
  }
  std::filesystem::remove_all(folder);
  return status;
}
