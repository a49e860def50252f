// The demo program of data/dev.bin and the demo tape data/demo.raw.
#include <gtest/gtest.h>

#include <fstream>

#include "machine/scancodes.h"
#include "tests/rom/rom_machine.h"

namespace {

int black_pixels_below_title() {
  int count = 0;
  for (uint32_t address = kDisplayStart + 16 * 32; address < kDisplayStart + kDisplaySize; ++address)
    count += __builtin_popcount(machine.memory[address]);
  return count;
}

bool made_sound(const std::vector<uint8_t>& samples) {
  return std::find(samples.begin(), samples.end(), 255) != samples.end();
}

TEST(Demo, DevImageDrawsPlaysAndReturnsOnAKey) {
  RomMachine vorn;
  machine_load_dev_image();
  vorn.type("g 5000\n", 0);
  vorn.sound.clear();
  vorn.run(800);
  EXPECT_TRUE(vorn.screen_shows("VORN DEMO"));
  EXPECT_GT(black_pixels_below_title(), 10'000);
  EXPECT_TRUE(made_sound(vorn.sound));
  vorn.hold(SCANCODE_SPACE, 2);
  vorn.run(10);
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(Demo, DemoTapeLoadsAndStartsTheDemo) {
  RomMachine vorn;
  tape_load("data/demo.raw");
  vorn.type("l\n");
  tape_play();
  vorn.run(500);
  std::ifstream dev("data/dev.bin", std::ios::binary);
  std::vector<uint8_t> code(64);
  dev.read(reinterpret_cast<char*>(code.data()), 64);
  EXPECT_TRUE(std::equal(code.begin(), code.end(), machine.memory + 0x5000));
  EXPECT_TRUE(vorn.screen_shows("VORN DEMO")) << "the demo did not start after loading";
}

}  // namespace
