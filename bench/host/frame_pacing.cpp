// frame_pacing: how punctually the host's main loop runs its frames. It
// starts the host on SDL's dummy video and audio drivers with an idle ROM,
// runs 500 frames as the main loop does, and prints how many milliseconds
// after its due tick each frame ran (0: in the due tick itself).
//
//   frame_pacing ROM
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "host/host_shell.h"
#include "host/main_loop.h"
#include "host/startup.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: frame_pacing ROM\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char pattern[] = "/tmp/vorn_frame_pacing_XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  std::filesystem::create_directory(folder / "data");
  std::filesystem::copy_file(std::filesystem::absolute(argv[1]), folder / "data/vorn.bin");
  std::filesystem::current_path(folder);
  if (!host_start()) {
    std::fprintf(stderr, "frame_pacing: the host did not start\n");
    return 1;
  }

  constexpr int kFrames = 500;
  std::map<uint32_t, int> lateness;  // milliseconds after the due tick -> frames
  double work_ms = 0;
  while (!frame_run()) frame_wait();
  for (int frames = 0; frames < kFrames;) {
    const uint32_t due = host.last_frame_tick + kFrameMilliseconds;
    const uint64_t start = SDL_GetPerformanceCounter();
    if (frame_run()) {
      work_ms += 1000.0 * (SDL_GetPerformanceCounter() - start) / SDL_GetPerformanceFrequency();
      ++lateness[host.last_frame_tick - due];
      ++frames;
    } else {
      frame_wait();
    }
  }
  host_shut_down();
  std::filesystem::current_path("/");
  std::filesystem::remove_all(folder);

  std::printf("Frame start after its due tick, %d frames:\n", kFrames);
  for (const auto& [late, count] : lateness) std::printf("  %3u ms: %4d frames\n", late, count);
  std::printf("Mean work per frame: %.2f ms\n", work_ms / kFrames);
  return 0;
}
