// The frame routine, the main loop and shutdown, run without a window on
// SDL's dummy video and audio drivers with the test ROM. One test, since the
// host starts once in a process.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "host/host_shell.h"
#include "host/main_loop.h"
#include "host/startup.h"
#include "machine/machine.h"

namespace fs = std::filesystem;

TEST(HostFrameTest, FramesRunTwentyMillisecondsApartAndAQuitEventEndsTheLoopAfterItsFrame) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  char pattern[] = "/tmp/vorn_frame_test_XXXXXX";
  const fs::path folder = mkdtemp(pattern);
  const std::shared_ptr<void> cleanup(nullptr, [&](void*) {  // whatever ends the test
    fs::current_path("/");
    fs::remove_all(folder);
  });
  fs::create_directory(folder / "data");
  fs::copy_file(TEST_ROM, folder / "data/vorn.bin");
  fs::current_path(folder);
  ASSERT_TRUE(host_start());

  // Each frame runs 20 ms after the last one ran, never early, and a late
  // frame brings no catch-up after it. Polled without pause, most frames run
  // in their due millisecond; a loaded host may make one or two late.
  while (!frame_run()) {
  }
  int on_time = 0;
  for (int frames = 0; frames < 10;) {
    if (frames == 3) SDL_Delay(50);
    const uint32_t last = host.last_frame_tick, before = SDL_GetTicks();
    if (frame_run()) {
      EXPECT_GE(host.last_frame_tick, std::max(before, last + kFrameMilliseconds));
      on_time += host.last_frame_tick == last + kFrameMilliseconds;
      ++frames;
    } else {
      EXPECT_LT(before, last + kFrameMilliseconds) << "a frame was due but did not run";
      EXPECT_EQ(host.last_frame_tick, last);
    }
  }
  EXPECT_GT(on_time, 0) << "no frame ran in its due millisecond";

  // SDL turns a window-close request, SIGINT and SIGTERM into a quit event;
  // events ahead of it must not delay it, and shutdown writes the recording.
  tape_record();
  SDL_Event event{};
  for (const uint32_t type : {SDL_USEREVENT, SDL_USEREVENT, SDL_USEREVENT, SDL_QUIT}) {
    event.type = type;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  main_loop();
  EXPECT_FALSE(host.ui.running);
  host_shut_down();
  // One frame's samples: the frame that saw the request ran, and no other.
  const auto size = fs::exists("data/default.raw") ? fs::file_size("data/default.raw") : 0;
  EXPECT_GE(size, kSamplesPerFrame) << "the recording in progress was lost, or the last frame did not run";
  EXPECT_LT(size, 2 * kSamplesPerFrame) << "frames ran after the quit event";
}
