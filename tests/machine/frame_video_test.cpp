// The frame step (interrupt, processor budget, tape clock) and the display.
#include "tests/machine/machine_fixture.h"

#include "machine/scancodes.h"

namespace {

using FrameTest = MachineTest;

const uint8_t* pixel(int x, int y) { return machine.frame_buffer + (y * 256 + x) * 4; }

bool is_black(int x, int y) {
  const uint8_t* p = pixel(x, y);
  return p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 255;
}

bool is_white(int x, int y) {
  const uint8_t* p = pixel(x, y);
  return p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 255;
}

TEST_F(FrameTest, EachFrameTakesExactlyOneInterrupt) {
  start("frame_counter");
  for (int frame = 1; frame <= 10; ++frame) {
    machine_frame();
    EXPECT_EQ(word_at(0x8000), frame);
  }
}

TEST_F(FrameTest, InterruptModeOutsideZeroToTwoGetsNoRequest) {
  start("frame_counter");
  machine_frame();
  machine_frame();
  machine.cpu.im = 3;
  machine.cpu.int_pending = 0;
  machine_frame();
  machine_frame();
  EXPECT_EQ(machine.cpu.int_pending, 0);
  EXPECT_EQ(word_at(0x8000), 2);
}

TEST_F(FrameTest, DisplayOfZerosIsAllWhite) {
  start("frame_counter");
  video_convert();
  for (uint32_t i = 0; i < kFrameBufferSize; ++i) ASSERT_EQ(machine.frame_buffer[i], 255) << i;
}

TEST_F(FrameTest, TopLeftBitIsLeftmostPixel) {
  start("frame_counter");
  machine.memory[0xE000] = 0x80;
  video_convert();
  EXPECT_TRUE(is_black(0, 0));
  for (int x = 1; x < 8; ++x) EXPECT_TRUE(is_white(x, 0)) << x;
}

TEST_F(FrameTest, LastDisplayBitIsBottomRightPixel) {
  start("frame_counter");
  machine.memory[0xFFFF] = 0x01;
  machine.memory[0xE020] = 0x40;  // second line, second pixel
  video_convert();
  EXPECT_TRUE(is_black(255, 255));
  EXPECT_TRUE(is_white(254, 255));
  EXPECT_TRUE(is_black(1, 1));
  EXPECT_TRUE(is_white(1, 0));
}

TEST_F(FrameTest, DisplayWriteShowsAtTheNextFrame) {
  start("keys");
  host_key(SCANCODE_A, true);  // row 5, column 0: the program blackens pixel (47, 0)
  host_frames(1);
  machine_frame();  // the program sees A now and writes the display
  EXPECT_EQ(machine.memory[0xE005], 0x01);
  EXPECT_TRUE(is_white(47, 0)) << "the picture of a frame is the display before it ran";
  machine_frame();
  EXPECT_TRUE(is_black(47, 0));
}

}  // namespace
