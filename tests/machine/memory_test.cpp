// Memory map, ROM protection, set-up, reset and the extra memory image.
#include <numeric>

#include "machine/loaders.h"
#include "tests/machine/machine_fixture.h"

namespace {

std::vector<uint8_t> pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed + (i >> 8));
  return bytes;
}

using MemoryTest = MachineTest;

TEST_F(MemoryTest, WriteBelowRamDoesNotChangeRom) {
  start("frame_counter");
  const uint8_t rom_byte = machine.memory[0x3FFF];
  machine_mem_write(nullptr, 0x3FFF, static_cast<uint8_t>(rom_byte + 1));
  machine_mem_write(nullptr, 0x0000, 0x00);
  EXPECT_EQ(machine_mem_read(nullptr, 0x3FFF), rom_byte);
  EXPECT_EQ(machine.memory[0], program("frame_counter")[0]);
  machine_mem_write(nullptr, 0x4000, 0x5A);
  machine_mem_write(nullptr, 0xFFFF, 0xA5);
  EXPECT_EQ(machine_mem_read(nullptr, 0x4000), 0x5A);
  EXPECT_EQ(machine_mem_read(nullptr, 0xFFFF), 0xA5);
}

TEST_F(MemoryTest, LongRomImageLoadsOnlyItsFirst16KiB) {
  const auto rom = pattern(20'000, 3);
  write_bytes("data/vorn.bin", rom);
  machine = Machine{};
  ASSERT_EQ(machine_init(), 0);
  EXPECT_TRUE(std::equal(rom.begin(), rom.begin() + kRomSize, machine.memory));
  EXPECT_EQ(machine.memory[kRomSize], 0) << "RAM must start cleared, not hold the image's tail";
}

TEST_F(MemoryTest, MissingRomFailsSetUp) {
  machine = Machine{};
  EXPECT_EQ(machine_init(), 1);
}

TEST_F(MemoryTest, DevImageIsCutAtCFFF) {
  start("frame_counter");
  const auto image = pattern(40'000, 11);
  write_bytes("data/dev.bin", image);
  machine.memory[0x4FFF] = 0x66;
  machine.memory[0xD000] = 0x77;
  machine_load_dev_image();
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + kDevImageMaxSize,
                         machine.memory + kDevImageStart));
  EXPECT_EQ(machine.memory[0x4FFF], 0x66);
  EXPECT_EQ(machine.memory[0xD000], 0x77);
}

TEST_F(MemoryTest, ShortDevImageLeavesMemoryAfterItAndRegisters) {
  start("frame_counter");
  host_frames(3);
  const uint16_t pc = machine.cpu.pc;
  machine.memory[0x5003] = 0x99;
  write_bytes("data/dev.bin", {1, 2, 3});
  machine_load_dev_image();
  EXPECT_EQ(machine.memory[0x5000], 1);
  EXPECT_EQ(machine.memory[0x5002], 3);
  EXPECT_EQ(machine.memory[0x5003], 0x99);
  EXPECT_EQ(machine.cpu.pc, pc);
  EXPECT_EQ(word_at(0x8000), 3) << "loading an image must not reset the machine";
}

TEST_F(MemoryTest, MissingDevImageChangesNothing) {
  start("frame_counter");
  machine.memory[0x5000] = 0x42;
  machine_load_dev_image();
  EXPECT_EQ(machine.memory[0x5000], 0x42);
}

TEST_F(MemoryTest, ResetClearsRamAndRestartsButKeepsRomAndTape) {
  start("frame_counter");
  host_frames(5);
  tape_play();
  machine.memory[0xE000] = 0xFF;
  machine_reset();
  EXPECT_EQ(machine.cpu.pc, 0);
  EXPECT_TRUE(std::all_of(machine.memory + kRamStart, machine.memory + kMemorySize,
                          [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(machine.memory[0], program("frame_counter")[0]);
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING);
  host_frames(1);
  EXPECT_EQ(machine.frame_buffer[0], 255) << "the display shows white after a reset";
  EXPECT_EQ(word_at(0x8000), 1) << "the program restarts from 0";
}

}  // namespace
