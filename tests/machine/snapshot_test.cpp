// The snapshot file: its exact layout, the round trip, and bad files.
#include <filesystem>

#include "machine/loaders.h"
#include "tests/machine/machine_fixture.h"

namespace {

std::vector<uint8_t> processor_image() {
  std::vector<uint8_t> image(kZ80ImageSize);
  z80_state_to_image(&machine.cpu, image.data());
  return image;
}

std::vector<uint8_t> ram() {
  return {machine.memory + kRamStart, machine.memory + kMemorySize};
}

bool machine_is_reset() {
  return machine.cpu.pc == 0 && machine.cpu.iff1 == 0 && machine.cpu.im == 0 &&
         std::all_of(machine.memory + kRamStart, machine.memory + kMemorySize,
                     [](uint8_t b) { return b == 0; }) &&
         std::all_of(machine.frame_buffer, machine.frame_buffer + kFrameBufferSize,
                     [](uint8_t b) { return b == 0; });
}

using SnapshotTest = MachineTest;

TEST_F(SnapshotTest, FileIsProcessorImageThenRam) {
  start("frame_counter");
  host_frames(5);
  machine.memory[0x4000] = 0x11;
  machine.memory[0xFFFF] = 0x22;
  state_save();
  const auto file = read_bytes("data/vorn.state");
  ASSERT_EQ(file.size(), 49'221u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + kZ80ImageSize), processor_image());
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + kZ80ImageSize, file.end()), ram());
  EXPECT_FALSE(std::filesystem::exists("data/vorn.state.tmp"));
}

TEST_F(SnapshotTest, LoadRestoresProcessorAndRamAndRunsOn) {
  start("frame_counter");
  host_frames(5);
  state_save();
  const auto saved_image = processor_image();
  const auto saved_ram = ram();
  const uint8_t rom_byte = machine.memory[0x38];
  host_frames(7);
  machine.memory[0x9000] = 0x33;
  state_load();
  EXPECT_EQ(processor_image(), saved_image);
  EXPECT_EQ(ram(), saved_ram);
  EXPECT_EQ(machine.memory[0x38], rom_byte);
  host_frames(1);
  EXPECT_EQ(word_at(0x8000), 6) << "the loaded machine takes the next frame's interrupt";
}

TEST_F(SnapshotTest, LoadWithoutFileIsAReset) {
  start("frame_counter");
  host_frames(3);
  state_load();
  EXPECT_TRUE(machine_is_reset());
}

TEST_F(SnapshotTest, FileShorterThanTheProcessorLeavesTheMachineReset) {
  start("frame_counter");
  host_frames(3);
  write_bytes("data/vorn.state", std::vector<uint8_t>(kZ80ImageSize - 1, 0xFF));
  state_load();
  EXPECT_TRUE(machine_is_reset());
  EXPECT_EQ(machine.cpu.sp, 0xC000) << "registers reset keeps must not be half-loaded";
}

TEST_F(SnapshotTest, ShortRamPartFillsOnlyItsLength) {
  start("frame_counter");
  host_frames(3);
  state_save();
  auto file = read_bytes("data/vorn.state");
  file.resize(kZ80ImageSize + 100);
  std::fill(file.begin() + kZ80ImageSize, file.end(), 0xAB);
  write_bytes("data/vorn.state", file);
  state_load();
  EXPECT_EQ(machine.memory[0x4000], 0xAB);
  EXPECT_EQ(machine.memory[0x4063], 0xAB);
  EXPECT_EQ(machine.memory[0x4064], 0);
  EXPECT_EQ(machine.memory[0x8000], 0);
}

TEST_F(SnapshotTest, BindingSlotsOfTheFileAreNeverUsed) {
  start("frame_counter");
  host_frames(3);
  state_save();
  auto file = read_bytes("data/vorn.state");
  std::fill(file.begin() + 35, file.begin() + 59, 0xEE);
  write_bytes("data/vorn.state", file);
  state_load();
  EXPECT_EQ(machine.cpu.read_mem, machine_mem_read);
  EXPECT_EQ(machine.cpu.write_mem, machine_mem_write);
  EXPECT_EQ(machine.cpu.read_port, machine_port_in);
  EXPECT_EQ(machine.cpu.write_port, machine_port_out);
  EXPECT_EQ(machine.cpu.mem_ctx, nullptr);
  EXPECT_EQ(machine.cpu.port_ctx, nullptr);
  host_frames(2);
  EXPECT_EQ(word_at(0x8000), 5);
}

TEST_F(SnapshotTest, LoadKeepsTapeAndKeys) {
  start("frame_counter");
  state_save();
  tape_play();
  machine.keys.rows[2][3] = 1;
  state_load();
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING);
  EXPECT_EQ(machine.keys.rows[2][3], 1);
}

TEST_F(SnapshotTest, FailedSaveKeepsThePreviousFile) {
  start("frame_counter");
  host_frames(2);
  state_save();
  const auto before = read_bytes("data/vorn.state");
  host_frames(2);
  // A directory where the temporary file goes makes the write fail.
  std::filesystem::create_directories("data/vorn.state.tmp/blocker");
  state_save();
  EXPECT_EQ(read_bytes("data/vorn.state"), before);
}

}  // namespace
