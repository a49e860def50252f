// Memory map, set-up and reset, the frame step, the display, the keyboard
// matrix with the host hold rule, and the speaker.
#include "tests/machine/vorn_machine.h"

namespace {

using MachineTest = Vorn;

// The frames the system ROM has counted, in its word at 4000h.
uint16_t rom_frames() { return machine.memory[0x4000] | machine.memory[0x4001] << 8; }

// A 40,000-byte image: its first 16 KiB become the ROM, its first 32 KiB the
// memory image at 5000h.
TEST_F(MachineTest, RomAndDevImagesFillTheirAreasInterruptsCountFramesAndResetKeepsRomAndTape) {
  Bytes image(40'000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + (i >> 8) + 1);
  write_bytes("data/vorn.bin", image);
  ASSERT_EQ(machine_init(), 0);
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + kRomSize, machine.memory));
  EXPECT_EQ(machine.memory[kRomSize], 0) << "RAM starts cleared, without the image's tail";
  for (const uint16_t address : {0x0000, 0x3FFF, 0x4000, 0xFFFF}) {
    machine_mem_write(nullptr, address, 0x5A);
    EXPECT_EQ(machine_mem_read(nullptr, address), address < kRamStart ? image[address] : 0x5A) << address;
  }
  machine_free();
  fs::remove("data/vorn.bin");
  EXPECT_EQ(machine_init(), 1) << "no ROM image";

  start();
  const uint16_t frames = rom_frames();
  run(10);
  EXPECT_EQ(rom_frames(), frames + 10) << "one interrupt a frame";
  // Halted with interrupts off, the ROM leaves a request pending: a frame
  // makes one in mode 2, none in mode 3.
  for (const uint8_t im : {2, 3}) {
    machine.cpu.im = im;
    machine.cpu.iff1 = 0;
    machine.cpu.int_pending = 0;
    run(1);
    EXPECT_EQ(machine.cpu.int_pending, im == 2 ? 1 : 0) << "mode " << int{im};
  }
  machine.memory[0x4FFF] = machine.memory[0x5003] = machine.memory[0xD000] = 0x66;
  machine_load_dev_image();  // no file yet: nothing changes
  write_bytes("data/dev.bin", {1, 2, 3});
  machine_load_dev_image();
  EXPECT_TRUE(machine.memory[0x5002] == 3 && machine.memory[0x5003] == 0x66) << "a short image";
  write_bytes("data/dev.bin", image);
  machine_load_dev_image();
  EXPECT_TRUE(std::equal(image.begin(), image.begin() + 32'768, machine.memory + 0x5000));
  EXPECT_TRUE(machine.memory[0x4FFF] == 0x66 && machine.memory[0xD000] == 0x66);
  EXPECT_EQ(rom_frames(), frames + 10) << "loading an image must not reset the machine";
  tape_play();
  machine_reset();
  EXPECT_EQ(machine.cpu.pc, 0);
  EXPECT_TRUE(all_are(machine.memory + kRamStart, machine.memory + kMemorySize, 0));
  EXPECT_TRUE(all_are(machine.frame_buffer, machine.frame_buffer + kFrameBufferSize, 0));
  EXPECT_TRUE(machine.memory[0] == data_file("vorn.bin")[0] && machine.tape.state == TAPE_PLAYING);
  run(1);
  EXPECT_TRUE(all_are(machine.frame_buffer, machine.frame_buffer + kFrameBufferSize, 255));
}

TEST_F(MachineTest, SpeakerWriteSetsTheOneSampleOfItsTStateAndFramesStartSilent) {
  start();  // silent at its prompt
  out_at(100, 0x80);
  machine_frame();
  EXPECT_TRUE(machine.sound_active == 0 && all_are(machine.speaker, machine.speaker + 882, 127));
  out_at(200, 0x80, 0x81);  // another port
  EXPECT_EQ(machine.sound_active, 0u);
  out_at(50'010, 0x80);  // in the overshoot: sample 882, not stored, yet it sounds
  EXPECT_TRUE(machine.sound_active == 1 && all_are(machine.speaker, machine.speaker + 882, 127));
  out_at(56, 0x80), out_at(57, 0x7F);                // only bit 7 counts
  out_at(1000, 0x80), out_at(1010, 0x00);            // the later write in one sample wins
  out_at(5000, 0x80, 0x1280), out_at(49'999, 0x80);  // only the low port byte is decoded
  Bytes expected(882, 127);
  expected[0] = expected[88] = expected[881] = 255;
  expected[1] = expected[17] = 0;
  EXPECT_EQ(Bytes(machine.speaker, machine.speaker + 882), expected);
}

TEST_F(MachineTest, DownKeysReadLowInTheirRowAndSelectedRowsToggleAColumn) {
  start();
  for (auto [row, column] : {std::pair{0, 0}, {1, 0}, {5, 0}, {3, 2}, {7, 4}}) machine.keys.rows[row][column] = 1;
  machine.tape.buffer[0] = 255;  // no tape bit while the deck is stopped
  const struct { uint16_t port; uint8_t value; } reads[] = {
      {0xFE80, 0x1E}, {0xFB80, 0x1F}, {0x7F80, 0x0F}, {0xF780, 0x1B},
      {0xFC80, 0x1F},  // column 0 down in both rows cancels out
      {0x0080, 0x0A},  // all rows: column 0 down three times, columns 2 and 4 once
      {0xFF80, 0xFF}, {0x0081, 0xFF}, {0x0000, 0xFF}};
  for (const auto& read : reads) EXPECT_EQ(in_at(0, read.port), read.value) << std::hex << read.port;
  tape_record();
  machine.tape.buffer[0] = 255;
  EXPECT_EQ(in_at(0, 0x0080), 0x0A) << "recording is not playing";
  tape_play();
  machine.tape.position = 1234;
  EXPECT_EQ(in_at(40'000, 0xFF80), 0xFF);
  EXPECT_EQ(machine.tape.position, 1234u) << "a read with no row selected must not sample the tape";
}

TEST_F(MachineTest, HeldKeyIsDownUpFor25FramesThenDownButModifiersFollowTheHostKey) {
  start();
  const struct { int scancode, row, column, frames; std::string seen; } cases[] = {
      {SCANCODE_1, 0, 0, 30, "1" + std::string(25, '0') + "1111" + "0"},  // then released
      {SCANCODE_1, 0, 0, 2, "100"},  // pressed again: the hold starts anew
      {SCANCODE_RETURN, 6, 4, 1, "10"}, {SCANCODE_RSHIFT, 7, 0, 4, "11110"},
      {SCANCODE_LCTRL, 4, 0, 3, "1110"}};
  for (const auto& c : cases) {
    std::string seen;
    for (int i = 0; i <= c.frames; ++i) {
      keys[c.scancode] = i < c.frames;
      run(1);
      seen += machine.keys.rows[c.row][c.column] ? '1' : '0';
    }
    EXPECT_EQ(seen, c.seen) << c.scancode;
  }
  for (int k : {SCANCODE_ESCAPE, SCANCODE_BACKSPACE, SCANCODE_TAB, SCANCODE_LALT}) keys[k] = 1;
  run(30);
  for (const uint8_t* row : machine.keys.rows)
    EXPECT_TRUE(all_are(row, row + kKeyColumns, 0)) << "keys outside the table stay out";
  EXPECT_EQ(hold_counters[SCANCODE_ESCAPE], 29u) << "every host key counts its hold";
}

}  // namespace
