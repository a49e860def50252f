// The frame routine and the main loop, run without a window on SDL's dummy
// video and audio drivers with the key display ROM.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/host_shell.h"
#include "host/main_loop.h"
#include "host/startup.h"

namespace {

class HostFrameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char pattern[] = "/tmp/vorn_frame_test_XXXXXX";
    folder_ = mkdtemp(pattern);
    std::filesystem::create_directory(folder_ / "data");
    std::filesystem::copy_file(TEST_ROM_DIR "/key_display.bin", folder_ / "data/vorn.bin");
    std::filesystem::current_path(folder_);
    started_ = host_start();
  }

  static void TearDownTestSuite() {
    if (started_) host_shut_down();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder_);
  }

  void SetUp() override { ASSERT_TRUE(started_) << "the host did not start"; }

  static inline std::filesystem::path folder_;
  static inline bool started_ = false;
};

TEST_F(HostFrameTest, FramesRunTwentyMillisecondsApartAndNeverEarly) {
  while (!frame_run()) {
  }
  for (int frames = 0; frames < 5;) {
    const uint32_t last = host.last_frame_tick;
    const uint32_t before = SDL_GetTicks();
    if (frame_run()) {
      EXPECT_GE(host.last_frame_tick, last + kFrameMilliseconds);
      ++frames;
    } else {
      EXPECT_LT(before, last + kFrameMilliseconds) << "a frame was due but did not run";
      EXPECT_EQ(host.last_frame_tick, last);
    }
  }
}

// SDL turns a window-close request, SIGINT and SIGTERM into a quit event.
TEST_F(HostFrameTest, QuitRequestEndsTheLoopAfterItsFrame) {
  const uint32_t last = host.last_frame_tick;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 1);
  main_loop();
  EXPECT_FALSE(host.ui.running);
  EXPECT_GT(host.last_frame_tick, last) << "the frame that saw the request did not run";
}

}  // namespace
