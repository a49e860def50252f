// Saving to and loading from tape through the monitor; the demo program of
// data/dev.bin and the demo tape data/demo.raw, which the headless runner
// recorded at build time by typing the ROM's own S command.
#include <random>

#include "machine/loaders.h"
#include "tests/machine/vorn_machine.h"

namespace {

using Tape = Vorn;

// Two blocks on one recording: L passes the first, shows every name it
// passes and loads the second intact, and refuses the first, which would land
// in the system area. Then the recording is damaged twice.
TEST_F(Tape, LoadFindsItsBlockWholeOverAThousandBitsASecondAndDamageGivesChecksumError) {
  start();
  ASSERT_TRUE(save_block("LOW", 0x4800, 0x40));
  std::mt19937 random(2);
  std::generate_n(machine.memory + 0x6000, 0x1000, [&] { return static_cast<uint8_t>(random()); });
  const Bytes saved(machine.memory + 0x6000, machine.memory + 0x7000);
  const uint64_t start = machine.tape.position;
  ASSERT_TRUE(save_block("BLOCK", 0x6000, 0x1000, true));
  tape_stop();
  // The second block's first level (past the first block's level, which holds
  // for a while), and the recording's last change of level.
  uint8_t* tape = machine.tape.buffer;
  uint64_t first = start, last = 0;
  while (tape[first] != 127) ++first;
  while (tape[first] == 127) ++first;
  for (uint64_t i = first + 1; i < machine.tape.position; ++i)
    if (tape[i] != tape[i - 1] && tape[i] != 127) last = i;
  std::fill(machine.memory + 0x6000, machine.memory + 0x7000, 0);
  EXPECT_EQ(load_block("BLOCK", 0x1040), "Loaded");
  EXPECT_TRUE(shows("Found LOW") && shows("Found BLOCK"));
  EXPECT_EQ(Bytes(machine.memory + 0x6000, machine.memory + 0x7000), saved);
  EXPECT_EQ(machine.memory[0x7000], 0) << "wrote past the block";
  EXPECT_EQ(load_block("LOW", 0x40), "");
  EXPECT_TRUE(shows("System area 4000-4FFF"));
  const double seconds = static_cast<double>(last - first) / 44'100.0;
  EXPECT_GE(0x1000 * 8 / seconds, 1000);
  // Well inside the data block (0x200 bytes of about 900 T-states a bit before
  // its end) stretch a half cycle of a 0 bit (at most 7 samples) by 11 samples:
  // it reads as a 1, and only the checksum can tell.
  auto next_edge = [&](uint64_t i) { while (tape[i] == tape[i - 1]) ++i; return i; };
  uint64_t half = next_edge(last - uint64_t{0x200} * 8 * 900 * 44100 / 2500000);
  while (next_edge(half + 1) - half > 7) half = next_edge(half + 1);
  std::copy_backward(tape + half, tape + last + 100, tape + last + 111);
  std::fill(tape + half, tape + half + 11, tape[half]);
  EXPECT_EQ(load_block("BLOCK", 0x1040), "checksum error");
  EXPECT_TRUE(shows("Found BLOCK"));
  // And inside its header: one second of leader, then the sync and 19 bytes.
  std::fill(tape + first + 44'100 + 600, tape + first + 44'100 + 640, 0);
  EXPECT_EQ(load_block("BLOCK", 0x1040), "checksum error");
  EXPECT_FALSE(shows("Found BLOCK"));
}

TEST_F(Tape, BreakStopsASaveAndAWaitingLoad) {
  start();
  tape_record();
  type("s \"LONG\" 6000 4000\n", 100);
  type(kBreak, 20);
  tape_stop();
  EXPECT_TRUE(shows("Break") && !shows("Saved"));
  EXPECT_EQ(prompt_row(), ">");
  type("cls\nl\n", 50);
  type(kBreak, 20);
  EXPECT_TRUE(shows("Break"));
  EXPECT_EQ(prompt_row(), ">");
}

TEST_F(Tape, DevImageDemoDrawsPlaysAndReturnsOnAKeyAndTheDemoTapeLoadsAndStartsIt) {
  start();
  const Bytes demo = data_file("dev.bin");
  machine_load_dev_bytes(demo.data(), demo.size());
  type("g 5000\n", 0);
  sound.clear();
  run(800);
  EXPECT_TRUE(shows("VORN DEMO"));
  int black_below_title = 0;
  for (uint32_t address = kDisplayStart + 16 * 32; address < kMemorySize; ++address)
    black_below_title += __builtin_popcount(machine.memory[address]);
  EXPECT_GT(black_below_title, 10'000);
  EXPECT_GT(std::count(sound.begin(), sound.end(), 255), 0) << "no sound";
  type(" ");
  EXPECT_EQ(prompt_row(), ">");
  std::fill(machine.memory + 0x5000, machine.memory + 0x5800, 0);
  tape_load(VORN_DATA "/demo.raw");
  type("l\n");
  tape_play();
  run(500);
  EXPECT_TRUE(std::equal(demo.begin(), demo.begin() + 0x40, machine.memory + 0x5000));
  EXPECT_TRUE(shows("VORN DEMO")) << "the demo did not start after loading";
}

}  // namespace
