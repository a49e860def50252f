// The snapshot file, and file writes that never lose the old file.
#include "tests/machine/vorn_machine.h"

namespace {

using SnapshotTest = Vorn;

Bytes processor_image() {
  Bytes image(kZ80ImageSize);
  z80_state_to_image(&machine.cpu, image.data());
  return image;
}

TEST_F(SnapshotTest, FileIsProcessorThenRamLoadRestoresBothButNotTheBusSlotsAndFailedSavesKeepTheOldFile) {
  start();
  machine.memory[0x4000] = 0x11;
  machine.memory[0xFFFF] = 0x22;
  state_save();
  Bytes file = read_bytes("data/vorn.state");
  const Bytes processor = processor_image(), ram(machine.memory + kRamStart, machine.memory + kMemorySize);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 69), processor);
  EXPECT_EQ(Bytes(file.begin() + 69, file.end()), ram);
  EXPECT_FALSE(fs::exists("data/vorn.state.tmp"));
  run(7);
  machine.memory[0x9000] = 0x33;
  tape_play();
  machine.keys.rows[2][3] = 1;
  state_load();
  EXPECT_EQ(processor_image(), processor);
  EXPECT_EQ(Bytes(machine.memory + kRamStart, machine.memory + kMemorySize), ram);
  EXPECT_TRUE(machine.tape.state == TAPE_PLAYING && machine.keys.rows[2][3] == 1);
  run(1);
  EXPECT_EQ(machine.memory[0x4000], 0x12) << "the loaded machine takes the next frame's interrupt";
  // The record's bus callbacks, contexts and plain memory are never taken
  // from a file, and a short RAM part fills only its length.
  std::fill(file.begin() + 35, file.begin() + 59, 0xEE);
  file.resize(69 + 100);
  std::fill(file.begin() + 69, file.end(), 0xAB);
  write_bytes("data/vorn.state", file);
  state_load();
  EXPECT_TRUE(machine.cpu.read_mem == machine_mem_read && machine.cpu.write_mem == machine_mem_write);
  EXPECT_TRUE(machine.cpu.read_port == machine_port_in && machine.cpu.write_port == machine_port_out);
  EXPECT_TRUE(machine.cpu.mem_ctx == nullptr && machine.cpu.port_ctx == nullptr);
  EXPECT_EQ(machine.cpu.plain_memory, machine.memory);
  EXPECT_EQ(machine.memory[0x4063], 0xAB);
  EXPECT_TRUE(all_are(machine.memory + 0x4064, machine.memory + kMemorySize, 0));
  fs::create_directories("data/vorn.state.tmp/blocker");  // no temporary file can be made
  state_save();
  EXPECT_EQ(read_bytes("data/vorn.state"), file);
  fs::remove_all("data/vorn.state.tmp");
  fs::remove("data/vorn.state");
  fs::create_directories("data/vorn.state/blocker");  // the temporary cannot replace it
  state_save();
  EXPECT_TRUE(fs::is_directory("data/vorn.state/blocker"));
  EXPECT_FALSE(fs::exists("data/vorn.state.tmp"));
}

TEST_F(SnapshotTest, MissingOrTooShortFileLeavesTheMachineReset) {
  for (const bool missing : {true, false}) {
    start();
    const uint16_t sp = machine.cpu.sp;
    if (!missing) write_bytes("data/vorn.state", Bytes(68, 0xFF));
    state_load();
    EXPECT_TRUE(machine.cpu.pc == 0 && machine.cpu.iff1 == 0 && machine.cpu.im == 0) << missing;
    EXPECT_EQ(machine.cpu.sp, sp) << "registers a reset keeps must not be half-loaded";
    EXPECT_TRUE(all_are(machine.memory + kRamStart, machine.memory + kMemorySize, 0));
    EXPECT_TRUE(all_are(machine.frame_buffer, machine.frame_buffer + kFrameBufferSize, 0));
  }
}

}  // namespace
