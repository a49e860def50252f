// The keyboard matrix on port 0x80 and the host keyboard's hold rule.
#include "machine/scancodes.h"
#include "tests/machine/machine_fixture.h"

namespace {

using KeysTest = MachineTest;

uint8_t read_port(uint16_t port) { return machine_port_in(nullptr, port); }

TEST_F(KeysTest, DownKeyReadsLowInItsColumnOfItsRow) {
  start("frame_counter");
  EXPECT_EQ(read_port(0xFE80), 0x1F);
  machine.keys.rows[0][0] = 1;
  EXPECT_EQ(read_port(0xFE80), 0x1E);
  EXPECT_EQ(read_port(0xFD80), 0x1F) << "another row must not see it";
  machine.keys.rows[7][4] = 1;
  EXPECT_EQ(read_port(0x7F80), 0x0F);
}

TEST_F(KeysTest, NoRowSelectedOrOtherPortReadsAllOnes) {
  start("frame_counter");
  machine.keys.rows[3][2] = 1;
  tape_play();
  machine.tape.position = 1234;
  machine.cpu.cycles = 40'000;
  EXPECT_EQ(read_port(0xFF80), 0xFF);
  EXPECT_EQ(machine.tape.position, 1234u) << "an unselected read must not sample the tape";
  EXPECT_EQ(read_port(0x0081), 0xFF);
  EXPECT_EQ(read_port(0x0000), 0xFF);
}

TEST_F(KeysTest, SeveralSelectedRowsToggleTheColumn) {
  start("frame_counter");
  machine.keys.rows[0][0] = 1;
  EXPECT_EQ(read_port(0x0080) & 1, 0);
  machine.keys.rows[1][0] = 1;
  EXPECT_EQ(read_port(0x0080) & 1, 1) << "two down keys in one column cancel out";
  machine.keys.rows[5][0] = 1;
  EXPECT_EQ(read_port(0x0080) & 1, 0);
  EXPECT_EQ(read_port(0xFC80) & 1, 1);
}

TEST_F(KeysTest, UnusedBitsReadZeroAndTapeBitOnlyWhilePlaying) {
  start("frame_counter");
  machine.tape.buffer[0] = 255;
  EXPECT_EQ(read_port(0x0080) & 0xE0, 0);
  tape_record();
  machine.tape.buffer[0] = 255;
  EXPECT_EQ(read_port(0x0080) & 0xE0, 0) << "recording is not playing";
}

class HoldRule : public MachineTest {
 protected:
  // The matrix position (row, column) after each of `frames` host frames
  // with the host key held.
  std::vector<int> held_for(int scancode, int row, int column, int frames) {
    std::vector<int> seen;
    host_key(scancode, true);
    for (int i = 0; i < frames; ++i) {
      host_frames(1);
      seen.push_back(machine.keys.rows[row][column] != 0);
    }
    host_key(scancode, false);
    host_frames(1);
    seen.push_back(machine.keys.rows[row][column] != 0);
    return seen;
  }
};

TEST_F(HoldRule, HeldKeyPressesPausesThenRepeats) {
  start("frame_counter");
  std::vector<int> expected(1, 1);
  expected.resize(26, 0);
  expected.resize(30, 1);
  expected.push_back(0);  // the frame after the release
  EXPECT_EQ(held_for(SCANCODE_1, 0, 0, 30), expected);
}

TEST_F(HoldRule, OneFrameTapIsOneFrameDown) {
  start("frame_counter");
  EXPECT_EQ(held_for(SCANCODE_RETURN, 6, 4, 1), (std::vector<int>{1, 0}));
}

TEST_F(HoldRule, ModifiersFollowTheHostKeyWithoutPause) {
  start("frame_counter");
  EXPECT_EQ(held_for(SCANCODE_RSHIFT, 7, 0, 4), (std::vector<int>{1, 1, 1, 1, 0}));
  EXPECT_EQ(held_for(SCANCODE_LCTRL, 4, 0, 3), (std::vector<int>{1, 1, 1, 0}));
}

TEST_F(HoldRule, CountersRunForUnmappedKeysWhichNeverReachTheMatrix) {
  start("frame_counter");
  host_key(SCANCODE_ESCAPE, true);
  host_frames(4);
  EXPECT_EQ(hold_counters[SCANCODE_ESCAPE], 3u);
  for (const uint8_t* row : machine.keys.rows)
    for (int c = 0; c < kKeyColumns; ++c) EXPECT_EQ(row[c], 0);
  host_key(SCANCODE_ESCAPE, false);
  host_frames(1);
  EXPECT_EQ(hold_counters[SCANCODE_ESCAPE], 0u);
}

TEST_F(KeysTest, ProgramReadsTheMatrixThroughThePort) {
  start("keys");
  host_key(SCANCODE_A, true);  // row 5, column 0
  host_key(SCANCODE_2, true);  // row 1, column 0
  host_key(SCANCODE_N, true);  // row 7, column 3
  host_frames(2);              // the second frame reads what the first left
  EXPECT_EQ(machine.memory[0x8105], 0x1E);
  EXPECT_EQ(machine.memory[0x8101], 0x1E);
  EXPECT_EQ(machine.memory[0x8107], 0x17);
  EXPECT_EQ(machine.memory[0x8100], 0x1F);
  EXPECT_EQ(machine.memory[0x8108], 0x17) << "all rows: column 0 down twice reads 1";
  EXPECT_EQ(machine.memory[0x8109], 0xFF);
}

}  // namespace
