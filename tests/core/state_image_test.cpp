// The 69-byte image of the processor record.
#include "tests/core/core_fixture.h"

namespace {

using StateImageTest = CoreTest;

TEST_F(StateImageTest, ImageHasFixedOffsetsAndBlankBindings) {
  s.f = 0x11;
  s.a = 0x22;
  s.ix = 0x3344;
  s.a_alt = 0x55;
  s.alt_spare[5] = 0x66;
  s.pc = 0x7788;
  s.im = 2;
  s.cycles = 0x01020304;
  s.bus_opcode = 1;
  uint8_t image[kZ80ImageSize];
  z80_state_to_image(&s, image);
  EXPECT_EQ(image[0], 0x11);
  EXPECT_EQ(image[1], 0x22);
  EXPECT_EQ(image[8], 0x44);
  EXPECT_EQ(image[9], 0x33);
  EXPECT_EQ(image[15], 0x55);
  EXPECT_EQ(image[27], 0x66);
  EXPECT_EQ(image[28], 0x88);
  EXPECT_EQ(image[29], 0x77);
  EXPECT_EQ(image[34], 2);
  for (int i = 35; i < 59; ++i) EXPECT_EQ(image[i], 0) << "binding byte " << i;
  EXPECT_EQ(image[60], 0x04);
  EXPECT_EQ(image[63], 0x01);
  EXPECT_EQ(image[68], 1);
}

TEST_F(StateImageTest, RoundTripKeepsLoadersOwnBindings) {
  uint8_t image[kZ80ImageSize];
  for (size_t i = 0; i < kZ80ImageSize; ++i) image[i] = static_cast<uint8_t>(i + 1);
  z80_state_from_image(&s, image);
  EXPECT_EQ(s.mem_ctx, this);  // not taken from the image
  EXPECT_NE(s.read_mem, nullptr);
  EXPECT_EQ(s.sp, 0x0E0D);
  EXPECT_EQ(s.alt_spare[0], 23);
  uint8_t again[kZ80ImageSize];
  z80_state_to_image(&s, again);
  for (size_t i = 0; i < kZ80ImageSize; ++i) {
    const uint8_t expected = (i >= 35 && i < 59) ? 0 : image[i];
    EXPECT_EQ(again[i], expected) << "offset " << i;
  }
}

}  // namespace
