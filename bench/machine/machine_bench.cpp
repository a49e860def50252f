// Speed of vorn-headless, as multiples of real time (50 frames/s = 1x):
// a busy program that never halts, and a program that toggles the output
// bit at about 10 kHz while the tape records it.
//
//   machine_bench [frames]     (default 5000 frames, 100 s of emulated time)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

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

// Seconds the runner took for `frames` frames, or a negative value on failure.
double time_run(const Case& run, long frames, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "data");
  std::filesystem::copy_file(std::filesystem::path(VORN_TEST_PROGRAMS_DIR) / run.program,
                             folder / "data" / "vorn.bin",
                             std::filesystem::copy_options::overwrite_existing);
  const std::string command = "cd '" + folder.string() + "' && '" VORN_HEADLESS_PATH "' --frames " +
                              std::to_string(frames) + run.options;
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double>(end - start).count();
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
  std::printf("vorn-headless, %ld frames (%.0f s emulated)\n", frames, frames / 50.0);
  for (const Case& run : kCases) {
    const double seconds = time_run(run, frames, folder);
    if (seconds < 0) {
      std::printf("%-32s failed to run\n", run.name);
      status = 1;
      continue;
    }
    const double fps = frames / seconds;
    std::printf("%-32s %8.0f frames/s  %6.1fx real time  (goal %.0fx)\n", run.name, fps,
                fps / 50.0, run.goal);
  }
  std::filesystem::remove_all(folder);
  return status;
}
