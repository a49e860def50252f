// Saving to and loading from tape through the monitor.
#include <gtest/gtest.h>

#include <random>

#include "machine/scancodes.h"
#include "tests/rom/tape_session.h"

namespace {

void fill_random(RomMachine& vorn, uint16_t start, uint32_t length, uint32_t seed) {
  std::mt19937 random(seed);
  for (uint32_t i = 0; i < length; ++i) vorn.poke(start + i, static_cast<uint8_t>(random()));
}

TEST(Tape, SavedBlockLoadsBackIntact) {
  RomMachine vorn;
  fill_random(vorn, 0x6000, 0x300, 1);
  std::vector<uint8_t> saved(machine.memory + 0x6000, machine.memory + 0x6300);
  ASSERT_TRUE(save_block(vorn, "BYTES", 0x6000, 0x300));
  tape_stop();
  for (int i = 0; i < 0x300; ++i) vorn.poke(0x6000 + i, 0);
  EXPECT_EQ(load_block(vorn, "BYTES", 0x300), "Loaded");
  EXPECT_TRUE(vorn.screen_shows("Found BYTES"));
  EXPECT_EQ(std::vector<uint8_t>(machine.memory + 0x6000, machine.memory + 0x6300), saved);
  EXPECT_EQ(vorn.peek(0x6300), 0) << "wrote past the block";
}

TEST(Tape, DamagedDataGivesChecksumError) {
  RomMachine vorn;
  fill_random(vorn, 0x6000, 0x400, 2);
  ASSERT_TRUE(save_block(vorn, "DAMAGED", 0x6000, 0x400));
  tape_stop();
  // Flatten a stretch well inside the data block: its bits read wrong.
  const uint64_t middle = last_edge() - uint64_t{0x200} * 8 * 900 * 44100 / 2500000;
  for (uint64_t i = middle; i < middle + 40; ++i) machine.tape.buffer[i] = 0;
  EXPECT_EQ(load_block(vorn, "DAMAGED", 0x400), "checksum error");
}

TEST(Tape, DamagedHeaderGivesChecksumError) {
  RomMachine vorn;
  ASSERT_TRUE(save_block(vorn, "HEADER", 0x6000, 0x10));
  tape_stop();
  uint64_t first = 0;
  while (machine.tape.buffer[first] == 127) ++first;
  // One second of leader, then the sync and the header's 19 bytes.
  const uint64_t header = first + 44'100 + 600;
  for (uint64_t i = header; i < header + 40; ++i) machine.tape.buffer[i] = 0;
  EXPECT_EQ(load_block(vorn, "HEADER", 0x10), "checksum error");
  EXPECT_FALSE(vorn.screen_shows("Found"));
}

TEST(Tape, LoadPassesOtherNamesAndShowsThem) {
  RomMachine vorn;
  fill_random(vorn, 0x6000, 0x40, 3);
  fill_random(vorn, 0x7000, 0x40, 4);
  ASSERT_TRUE(save_block(vorn, "ONE", 0x6000, 0x40));
  ASSERT_TRUE(save_block(vorn, "TWO", 0x7000, 0x40, true));
  tape_stop();
  vorn.poke(0x6000, vorn.peek(0x6000) ^ 0xFF);
  const uint8_t changed = vorn.peek(0x6000);
  vorn.poke(0x7000, 0);
  EXPECT_EQ(load_block(vorn, "TWO", 0x80), "Loaded");
  EXPECT_TRUE(vorn.screen_shows("Found ONE"));
  EXPECT_TRUE(vorn.screen_shows("Found TWO"));
  EXPECT_EQ(vorn.peek(0x6000), changed) << "ONE was loaded too";
  std::mt19937 random(4);
  EXPECT_EQ(vorn.peek(0x7000), static_cast<uint8_t>(random()));
}

TEST(Tape, BreakStopsAWaitingLoad) {
  RomMachine vorn;
  vorn.type("l\n", 50);
  vorn.hold(SCANCODE_C, 2, SCANCODE_LCTRL);
  vorn.run(20);
  EXPECT_TRUE(vorn.screen_shows("Break"));
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(Tape, BreakStopsASave) {
  RomMachine vorn;
  tape_record();
  vorn.type("s \"LONG\" 6000 4000\n", 100);
  vorn.hold(SCANCODE_C, 2, SCANCODE_LCTRL);
  vorn.run(20);
  tape_stop();
  EXPECT_TRUE(vorn.screen_shows("Break"));
  EXPECT_FALSE(vorn.screen_shows("Saved"));
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(Tape, BlockIntoTheSystemAreaIsRefused) {
  RomMachine vorn;
  ASSERT_TRUE(save_block(vorn, "LOW", 0x4800, 0x10));
  tape_stop();
  EXPECT_EQ(load_block(vorn, "LOW", 0x10), "");
  EXPECT_TRUE(vorn.screen_shows("System area 4000-4FFF"));
}

TEST(Tape, CarriesAtLeastAThousandBitsASecond) {
  RomMachine vorn;
  fill_random(vorn, 0x6000, 0x1400, 5);
  ASSERT_TRUE(save_block(vorn, "SHORT", 0x6000, 0x400));
  tape_stop();
  const uint64_t short_end = last_edge();
  ASSERT_TRUE(save_block(vorn, "LONG", 0x6000, 0x1400));
  tape_stop();
  const uint64_t long_end = last_edge();
  const double seconds = static_cast<double>(long_end - short_end) / 44'100.0;
  const double bits_per_second = 0x1000 * 8 / seconds;
  std::printf("tape speed with random data: %.0f bits per second\n", bits_per_second);
  EXPECT_GE(bits_per_second, 1000);
}

}  // namespace
