// Saving to and loading from tape through the monitor; the demo program of
// data/dev.bin and the demo tape data/demo.raw, which the headless runner
// recorded at build time by typing the ROM's own S command.
#include <gtest/gtest.h>

#include <random>

#include "tests/rom/rom_machine.h"

namespace {

std::vector<uint8_t> fill_random(uint16_t start, uint32_t length, uint32_t seed) {
  std::mt19937 random(seed);
  for (uint32_t i = 0; i < length; ++i) machine.memory[start + i] = static_cast<uint8_t>(random());
  return {machine.memory + start, machine.memory + start + length};
}

TEST(Tape, LoadShowsTheNamesItPassesAndLoadsItsBlockIntactButNotIntoTheSystemArea) {
  RomMachine vorn;
  ASSERT_TRUE(save_block(vorn, "LOW", 0x4800, 0x40));
  const std::vector<uint8_t> saved = fill_random(0x6000, 0x300, 1);
  ASSERT_TRUE(save_block(vorn, "BYTES", 0x6000, 0x300, true));
  tape_stop();
  std::fill(machine.memory + 0x6000, machine.memory + 0x6300, 0);
  EXPECT_EQ(load_block(vorn, "BYTES", 0x340), "Loaded");
  EXPECT_TRUE(vorn.screen_shows("Found LOW"));
  EXPECT_TRUE(vorn.screen_shows("Found BYTES"));
  EXPECT_EQ(std::vector<uint8_t>(machine.memory + 0x6000, machine.memory + 0x6300), saved);
  EXPECT_EQ(vorn.peek(0x6300), 0) << "wrote past the block";
  EXPECT_EQ(load_block(vorn, "LOW", 0x40), "");
  EXPECT_TRUE(vorn.screen_shows("System area 4000-4FFF"));
}

TEST(Tape, SavesOverAThousandBitsASecondAndDamagedDataOrHeaderGivesChecksumError) {
  RomMachine vorn;
  fill_random(0x6000, 0x1000, 2);
  ASSERT_TRUE(save_block(vorn, "DAMAGED", 0x6000, 0x1000));
  tape_stop();
  uint8_t* tape = machine.tape.buffer;
  const uint64_t first = first_signal();
  const double seconds = static_cast<double>(last_edge() - first) / 44'100.0;
  std::printf("tape speed, leaders included: %.0f bits per second\n", 0x1000 * 8 / seconds);
  EXPECT_GE(0x1000 * 8 / seconds, 1000);
  // Well inside the data block (0x200 bytes of about 900 T-states a bit before
  // its end) stretch a half cycle of a 0 bit (at most 7 samples) by 11 samples:
  // it reads as a 1, and only the checksum can tell.
  const uint64_t last = last_edge();
  auto next_edge = [&](uint64_t i) { while (tape[i] == tape[i - 1]) ++i; return i; };
  uint64_t half = next_edge(last - uint64_t{0x200} * 8 * 900 * 44100 / 2500000);
  while (next_edge(half + 1) - half > 7) half = next_edge(half + 1);
  std::copy_backward(tape + half, tape + last + 100, tape + last + 111);
  std::fill(tape + half, tape + half + 11, tape[half]);
  EXPECT_EQ(load_block(vorn, "DAMAGED", 0x1000), "checksum error");
  EXPECT_TRUE(vorn.screen_shows("Found DAMAGED"));
  // And inside the header: one second of leader, then the sync and 19 bytes.
  std::fill(tape + first + 44'100 + 600, tape + first + 44'100 + 640, 0);
  EXPECT_EQ(load_block(vorn, "DAMAGED", 0x1000), "checksum error");
  EXPECT_FALSE(vorn.screen_shows("Found"));
}

TEST(Tape, BreakStopsASaveAndAWaitingLoad) {
  RomMachine vorn;
  tape_record();
  vorn.type("s \"LONG\" 6000 4000\n", 100);
  vorn.type(kBreak, 20);
  tape_stop();
  EXPECT_TRUE(vorn.screen_shows("Break"));
  EXPECT_FALSE(vorn.screen_shows("Saved"));
  EXPECT_EQ(vorn.last_prompt_row(), ">");
  vorn.type("cls\nl\n", 50);
  vorn.type(kBreak, 20);
  EXPECT_TRUE(vorn.screen_shows("Break"));
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(Demo, DevImageDemoDrawsPlaysAndReturnsOnAKeyAndTheDemoTapeLoadsAndStartsIt) {
  RomMachine vorn;
  machine_load_dev_image();
  const std::vector<uint8_t> code(machine.memory + 0x5000, machine.memory + 0x5040);
  vorn.type("g 5000\n", 0);
  vorn.sound.clear();
  vorn.run(800);
  EXPECT_TRUE(vorn.screen_shows("VORN DEMO"));
  int black_below_title = 0;
  for (uint32_t address = kDisplayStart + 16 * 32; address < kDisplayStart + kDisplaySize; ++address)
    black_below_title += __builtin_popcount(machine.memory[address]);
  EXPECT_GT(black_below_title, 10'000);
  EXPECT_NE(std::find(vorn.sound.begin(), vorn.sound.end(), 255), vorn.sound.end()) << "no sound";
  vorn.type(" ");
  EXPECT_EQ(vorn.last_prompt_row(), ">");

  std::fill(machine.memory + 0x5000, machine.memory + 0x5800, 0);
  tape_load("data/demo.raw");
  vorn.type("l\n");
  tape_play();
  vorn.run(500);
  EXPECT_EQ(std::vector<uint8_t>(machine.memory + 0x5000, machine.memory + 0x5040), code);
  EXPECT_TRUE(vorn.screen_shows("VORN DEMO")) << "the demo did not start after loading";
}

}  // namespace
