// The speaker: one sample per output write at its T-state, rest level between.
#include <cstring>

#include "tests/machine/machine_fixture.h"

namespace {

class SpeakerTest : public MachineTest {
 protected:
  void write_at(uint32_t cycles, uint16_t port, uint8_t value) {
    machine.cpu.cycles = cycles;
    machine_port_out(nullptr, port, value);
  }
  void silence() {
    std::memset(machine.speaker, 127, kSamplesPerFrame);
    machine.sound_active = 0;
  }
};

TEST_F(SpeakerTest, WriteLandsInTheSampleOfItsTState) {
  start("frame_counter");
  silence();
  write_at(56, 0x0080, 0x80);
  EXPECT_EQ(machine.speaker[0], 255);
  write_at(57, 0x0080, 0x7F);
  EXPECT_EQ(machine.speaker[1], 0) << "only bit 7 counts";
  write_at(49'999, 0x0080, 0x80);
  EXPECT_EQ(machine.speaker[881], 255);
  EXPECT_EQ(machine.speaker[2], 127) << "samples between writes keep the rest level";
  EXPECT_EQ(machine.speaker[880], 127);
  write_at(1000, 0x0080, 0x80);
  write_at(1010, 0x0080, 0x00);
  EXPECT_EQ(machine.speaker[17], 0) << "the later write in one sample wins";
}

TEST_F(SpeakerTest, WriteInTheOvershootIsDroppedButSounds) {
  start("frame_counter");
  silence();
  write_at(50'010, 0x0080, 0x80);
  for (uint32_t i = 0; i < kSamplesPerFrame; ++i) ASSERT_EQ(machine.speaker[i], 127);
  EXPECT_EQ(machine.sound_active, 1u);
}

TEST_F(SpeakerTest, OnlyTheLowPortByteIsDecoded) {
  start("frame_counter");
  silence();
  write_at(100, 0x0081, 0x80);
  EXPECT_EQ(machine.speaker[1], 127);
  EXPECT_EQ(machine.sound_active, 0u);
  write_at(100, 0x1280, 0x80);
  EXPECT_EQ(machine.speaker[1], 255);
  EXPECT_EQ(machine.sound_active, 1u);
}

TEST_F(SpeakerTest, SilentFrameRestoresRestLevelAndClearsFlag) {
  start("frame_counter");
  write_at(100, 0x0080, 0x80);
  machine_frame();
  EXPECT_EQ(machine.sound_active, 0u);
  for (uint32_t i = 0; i < kSamplesPerFrame; ++i) ASSERT_EQ(machine.speaker[i], 127);
}

TEST_F(SpeakerTest, TogglerWritesAlternateLevelsEvery251TStates) {
  start("toggler");
  machine_frame();
  std::vector<uint8_t> expected(kSamplesPerFrame, 127);
  uint8_t level = 0;
  for (uint64_t t = 19; t * kSampleRate / kClockHz < kSamplesPerFrame; t += 251) {
    expected[t * kSampleRate / kClockHz] = level;
    level ^= 255;
  }
  EXPECT_EQ(std::vector<uint8_t>(machine.speaker, machine.speaker + kSamplesPerFrame), expected);
  EXPECT_EQ(machine.sound_active, 1u);
}

}  // namespace
