// The tape deck: loading, the T-state sample clock, playback, recording,
// the end of the tape, and the lazily filled recording against the plain
// rule (each write holds its level for 68,027 samples).
#include <cstring>
#include <filesystem>
#include <random>

#include "machine/loaders.h"
#include "machine/tape_deck.h"
#include "tests/machine/machine_fixture.h"

namespace {

// T-states of the whole tape.
constexpr uint64_t kTapeTStates = kTapeSamples * kClockHz / kSampleRate;
static_assert(kTapeTStates == 1'500'000'000);

class TapeTest : public MachineTest {
 protected:
  bool input_high_at(uint32_t cycles) {
    machine.cpu.cycles = cycles;
    return machine_port_in(nullptr, 0x7F80) & 0x80;
  }
  void write_at(uint32_t cycles, uint8_t value) {
    machine.cpu.cycles = cycles;
    machine_port_out(nullptr, 0x0080, value);
  }
};

TEST_F(TapeTest, ReadSamplesTheTapeAtItsTState) {
  start("frame_counter");
  std::vector<uint8_t> samples(200, 0);
  samples[0] = 200;
  samples[176] = 200;
  tape_load_samples(samples.data(), samples.size());
  tape_play();
  EXPECT_TRUE(input_high_at(56));
  EXPECT_EQ(machine.tape.position, 0u);
  EXPECT_FALSE(input_high_at(57));
  EXPECT_TRUE(input_high_at(10'000));
  EXPECT_EQ(machine.tape.position, 176u);
}

TEST_F(TapeTest, InputIsHighFrom144) {
  start("frame_counter");
  const std::vector<uint8_t> samples = {144, 143, 127, 255};
  tape_load_samples(samples.data(), samples.size());
  tape_play();
  EXPECT_TRUE(input_high_at(0));
  EXPECT_FALSE(input_high_at(57));
  EXPECT_FALSE(input_high_at(114));
  EXPECT_TRUE(input_high_at(171));
}

TEST_F(TapeTest, ClockCarriesTheFramesRunIntoLaterFrames) {
  start("busy");
  std::vector<uint8_t> samples(2000, 0);
  tape_load_samples(samples.data(), samples.size());
  tape_play();
  machine_frame();
  const uint64_t ran = machine.tape.cycle_counter;
  EXPECT_GE(ran, kFrameTStates);
  EXPECT_EQ(machine.tape.position, ran * kSampleRate / kClockHz);
  machine.tape.buffer[(ran + 10'000) * kSampleRate / kClockHz] = 200;
  EXPECT_TRUE(input_high_at(10'000));
}

TEST_F(TapeTest, ShortFileLoadsWithSilenceAfterIt) {
  start("frame_counter");
  std::vector<uint8_t> file(1000);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i);
  write_bytes("data/short.raw", file);
  tape_play();
  tape_load("data/short.raw");
  EXPECT_TRUE(std::equal(file.begin(), file.end(), machine.tape.buffer));
  EXPECT_EQ(machine.tape.buffer[1000], 127);
  EXPECT_EQ(machine.tape.buffer[kTapeSamples - 1], 127);
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING) << "loading neither starts nor stops the deck";
  tape_load("data/missing.raw");
  EXPECT_EQ(machine.tape.buffer[5], 127) << "a missing file leaves a silent tape";
}

TEST_F(TapeTest, OneFrameRecordingWritesTheFramesSamples) {
  start("frame_counter");
  tape_record();
  write_at(10, 0x80);
  machine_frame();
  tape_stop();
  const auto file = read_bytes("data/default.raw");
  ASSERT_EQ(file.size(), 882u);
  EXPECT_TRUE(std::all_of(file.begin(), file.end(), [](uint8_t s) { return s == 255; }));
  EXPECT_FALSE(std::filesystem::exists("data/default.raw.tmp"));
}

TEST_F(TapeTest, PlayedTapeStopsItselfAtTheEnd) {
  start("busy");
  tape_play();
  machine.tape.cycle_counter = kTapeTStates - 2 * kFrameTStates;
  machine_frame();
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING);
  machine_frame();
  EXPECT_EQ(machine.tape.state, TAPE_STOPPED);
  EXPECT_EQ(machine.tape.position, kTapeSamples);
  EXPECT_EQ(machine.tape.cycle_counter, 0u);
  EXPECT_FALSE(std::filesystem::exists("data/default.raw"));
}

TEST_F(TapeTest, RecordingRunToTheEndWritesTheWholeTape) {
  start("toggler");
  tape_record();
  machine.tape.cycle_counter = kTapeTStates - kFrameTStates - 100;
  machine_frame();
  machine_frame();
  EXPECT_EQ(machine.tape.state, TAPE_STOPPED);
  EXPECT_EQ(std::filesystem::file_size("data/default.raw"), kTapeSamples);
}

TEST_F(TapeTest, PlayWhileRecordingWritesTheRecordingAndPlaysItFromMemory) {
  start("frame_counter");
  tape_record();
  write_at(0, 0x80);
  machine_frame();
  tape_play();
  EXPECT_EQ(std::filesystem::file_size("data/default.raw"), 882u);
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING);
  EXPECT_EQ(machine.tape.position, 0u);
  EXPECT_TRUE(input_high_at(0));
  EXPECT_TRUE(input_high_at(60'000)) << "the level holds beyond the written file";
}

TEST_F(TapeTest, RecordAgainDiscardsTheFirstRecording) {
  start("frame_counter");
  tape_record();
  write_at(0, 0x80);
  machine_frame();
  tape_record();
  EXPECT_FALSE(std::filesystem::exists("data/default.raw"));
  EXPECT_EQ(machine.tape.position, 0u);
  tape_stop();
  EXPECT_EQ(machine.tape.buffer[0], 127);
}

TEST_F(TapeTest, RecordedLevelHoldsFor68027SamplesThenSilence) {
  start("frame_counter");
  tape_record();
  write_at(0, 0x80);
  tape_frame_end(kFrameTStates);
  tape_stop();
  EXPECT_EQ(machine.tape.buffer[kRecordHoldSamples - 1], 255);
  EXPECT_EQ(machine.tape.buffer[kRecordHoldSamples], 127);
}

// Drives the deck directly with output writes at random moments over many
// frames, long silences included, and compares the tape and the file with
// a recorder that stores every write's full hold at once.
TEST_F(TapeTest, LazyRecordingEqualsStoringEachWritesWholeHold) {
  start("frame_counter");
  std::vector<uint8_t> expected(kTapeSamples, 127);
  std::mt19937 random(7);
  uint64_t cycle_counter = 0;
  tape_record();
  for (int frame = 0; frame < 400; ++frame) {
    const bool quiet = (frame / 100) % 2 == 1 && frame % 100 < 90;  // gaps longer than a hold
    const int writes = quiet ? 0 : static_cast<int>(random() % 6);
    std::vector<uint32_t> moments(writes);
    for (uint32_t& t : moments) t = random() % kFrameTStates;
    std::sort(moments.begin(), moments.end());
    for (const uint32_t t : moments) {
      const uint8_t value = random() % 2 ? 0x80 : 0x00;
      const uint64_t at = (cycle_counter + t) * kSampleRate / kClockHz;
      std::fill_n(expected.begin() + at, std::min(kRecordHoldSamples, kTapeSamples - at),
                  value ? 255 : 0);
      write_at(t, value);
    }
    if (frame == 333) {  // a tape loaded mid-recording replaces what was held
      const std::vector<uint8_t> loaded(500'000, 200);
      tape_load_samples(loaded.data(), loaded.size());
      std::fill(expected.begin(), expected.end(), 127);
      std::fill_n(expected.begin(), loaded.size(), 200);
    }
    const uint32_t ran = kFrameTStates + random() % 20;
    tape_frame_end(ran);
    cycle_counter += ran;
  }
  const uint64_t end = cycle_counter * kSampleRate / kClockHz;
  tape_stop();
  ASSERT_EQ(std::memcmp(machine.tape.buffer, expected.data(), kTapeSamples), 0);
  const auto file = read_bytes("data/default.raw");
  ASSERT_EQ(file.size(), end);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), expected.begin()));
}

TEST_F(TapeTest, RecordedSquareWavePlaysBackThroughThePort) {
  start("toggler");
  tape_record();
  host_frames(10);
  tape_stop();
  const auto recording = read_bytes("data/default.raw");
  ASSERT_EQ(recording.size(), machine.tape.position);
  ASSERT_GE(recording.size(), 10 * kSamplesPerFrame);
  int changes = 0;
  for (size_t i = 1; i < recording.size(); ++i) {
    ASSERT_TRUE(recording[i] == 0 || recording[i] == 255) << i;
    changes += recording[i] != recording[i - 1];
  }
  EXPECT_NEAR(changes, 10 * kFrameTStates / 251, 2);

  const auto reader = program("tape_reader");
  machine_load_rom_image(reader.data(), reader.size());
  machine_reset();
  tape_load("data/default.raw");
  tape_play();
  host_frames(11);
  // Past the recording the tape is silent, which reads low.
  const int fall_to_silence = recording.back() == 255 ? 1 : 0;
  EXPECT_EQ(word_at(0x8000), changes + fall_to_silence);
}

}  // namespace
