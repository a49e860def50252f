// The frame routine, the main loop and shutdown, run without a window on
// SDL's dummy video and audio drivers with the key display ROM.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "host/host_shell.h"
#include "host/main_loop.h"
#include "host/startup.h"
#include "machine/machine.h"

namespace {

namespace fs = std::filesystem;

class HostFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char pattern[] = "/tmp/vorn_frame_test_XXXXXX";
    folder_ = mkdtemp(pattern);
    fs::create_directory(folder_ / "data");
    fs::copy_file(TEST_ROM_DIR "/key_display.bin", folder_ / "data/vorn.bin");
    fs::current_path(folder_);
    started_ = host_start();
  }
  static void TearDownTestSuite() {
    if (started_) host_shut_down();
    fs::current_path("/");
    fs::remove_all(folder_);
  }
  void SetUp() override { ASSERT_TRUE(started_) << "the host did not start"; }

  static inline fs::path folder_;
  static inline bool started_ = false;
};

TEST_F(HostFrameTest, FramesRunTwentyMillisecondsAfterTheLastOneRanNeverEarly) {
  while (!frame_run()) {
  }
  for (int frames = 0; frames < 6;) {
    if (frames == 3) SDL_Delay(50);  // a late frame: no catch-up after it
    const uint32_t last = host.last_frame_tick, before = SDL_GetTicks();
    if (frame_run()) {
      EXPECT_GE(host.last_frame_tick, std::max(before, last + kFrameMilliseconds));
      ++frames;
    } else {
      EXPECT_LT(before, last + kFrameMilliseconds) << "a frame was due but did not run";
      EXPECT_EQ(host.last_frame_tick, last);
    }
  }
}

// SDL turns a window-close request, SIGINT and SIGTERM into a quit event;
// events ahead of it must not delay it.
TEST_F(HostFrameTest, QuitEventEndsTheLoopAfterItsFrameAndShutdownWritesTheRecording) {
  tape_record();
  SDL_Event event{};
  for (const uint32_t type : {SDL_USEREVENT, SDL_USEREVENT, SDL_USEREVENT, SDL_QUIT}) {
    event.type = type;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  main_loop();
  EXPECT_FALSE(host.ui.running);
  host_shut_down();
  started_ = false;
  // One frame's samples: the frame that saw the request ran, and no other.
  const auto size = fs::exists("data/default.raw") ? fs::file_size("data/default.raw") : 0;
  EXPECT_GE(size, kSamplesPerFrame) << "the recording in progress was lost, or the last frame did not run";
  EXPECT_LT(size, 2 * kSamplesPerFrame) << "frames ran after the quit event";
}

}  // namespace
