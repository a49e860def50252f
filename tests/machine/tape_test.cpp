// The tape deck: the T-state sample clock, playback, recording and its lazy
// fill, the end of the tape, and a recording played back to a program.
#include <cstring>
#include <random>

#include <sys/stat.h>

#include "machine/loaders.h"
#include "machine/tape_deck.h"
#include "tests/machine/machine_fixture.h"

namespace {

class TapeTest : public MachineTest {
 protected:
  bool high_at(uint32_t cycles) { return in_at(cycles, 0x7F80) & 0x80; }
  void load(const Bytes& samples) { tape_load_samples(samples.data(), samples.size()); }
};

TEST_F(TapeTest, ReadSamplesTheTapeAtItsTStateIsHighFrom144AndFramesAdvanceByWhatTheyRan) {
  start("toggler");
  Bytes samples(200, 0);
  samples[0] = 144, samples[1] = 143, samples[2] = 127, samples[3] = 255, samples[176] = 200;
  load(samples);
  tape_play();
  std::string seen;
  for (const uint32_t t : {56, 57, 114, 171, 10'000}) seen += high_at(t) ? '1' : '0';
  EXPECT_EQ(seen, "10011");
  EXPECT_EQ(machine.tape.position, 176u);
  uint64_t ran = 0;
  for (int frame = 0; frame < 10; ++frame) machine_frame(), ran += machine.cpu.cycles;
  ASSERT_GT(ran, 10 * kFrameTStates) << "the frames overshoot their budget";
  EXPECT_EQ(machine.tape.cycle_counter, ran);
  EXPECT_EQ(machine.tape.position, ran * kSampleRate / kClockHz);
  machine.tape.buffer[(ran + 10'000) * kSampleRate / kClockHz] = 200;
  EXPECT_TRUE(high_at(10'000));
}

TEST_F(TapeTest, FileLoadsFromSample0WithSilenceAfterItAndMissingFileOrPipeIsSilence) {
  start("keys");
  const Bytes file = pattern(1000);
  write_bytes("data/short.raw", file);
  tape_play();
  machine.tape.buffer[2000] = 0;
  tape_load("data/short.raw");
  EXPECT_TRUE(std::equal(file.begin(), file.end(), machine.tape.buffer));
  EXPECT_TRUE(all_are(machine.tape.buffer + 1000, machine.tape.buffer + kTapeSamples, 127));
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING) << "loading neither starts nor stops the deck";
  tape_load("data/missing.raw");
  EXPECT_TRUE(all_are(machine.tape.buffer, machine.tape.buffer + kTapeSamples, 127));
  // A pipe named as a tape is not waited on: it would block until a writer came.
  ASSERT_EQ(mkfifo("data/pipe.raw", 0600), 0);
  machine.tape.buffer[0] = 0;
  tape_load("data/pipe.raw");
  EXPECT_EQ(machine.tape.buffer[0], 127);
}

TEST_F(TapeTest, RecordAgainDiscardsTheFirstRecordingAndPlayWritesTheSecondThenPlaysIt) {
  start("keys");
  tape_record();
  out_at(0, 0x00);
  machine_frame();
  tape_record();
  EXPECT_FALSE(fs::exists("data/default.raw"));
  EXPECT_EQ(machine.tape.position, 0u);
  out_at(10'000, 0x80);  // sample 176
  machine_frame();
  tape_play();
  Bytes expected(kSamplesPerFrame, 255);
  std::fill_n(expected.begin(), 176, 127);
  EXPECT_EQ(read_bytes("data/default.raw"), expected);
  EXPECT_FALSE(fs::exists("data/default.raw.tmp"));
  EXPECT_TRUE(machine.tape.state == TAPE_PLAYING && machine.tape.position == 0);
  EXPECT_FALSE(high_at(0));
  EXPECT_TRUE(high_at(60'000)) << "the level holds beyond the written file";
}

TEST_F(TapeTest, DeckStopsItselfAtTheEndAndARecordingWritesTheWholeTape) {
  start("keys");
  for (const bool recording : {false, true}) {
    recording ? tape_record() : tape_play();
    out_at(0, 0x80);
    machine.tape.cycle_counter = 1'500'000'000 - 2 * kFrameTStates;  // two frames before the end
    tape_frame_end(kFrameTStates);
    EXPECT_EQ(machine.tape.state, recording ? TAPE_RECORDING : TAPE_PLAYING);
    tape_frame_end(kFrameTStates);
    EXPECT_TRUE(machine.tape.state == TAPE_STOPPED && machine.tape.cycle_counter == 0);
    EXPECT_EQ(machine.tape.position, 26'460'000u);
    EXPECT_EQ(fs::exists("data/default.raw") ? fs::file_size("data/default.raw") : 0,
              recording ? 26'460'000u : 0);
  }
}

// Output writes at random moments over many frames, with silences longer than
// a hold and a tape loaded mid-recording, against a model that stores each
// write's whole hold of 68,027 samples at once.
TEST_F(TapeTest, LazyRecordingFillEqualsStoringEachWritesWholeHold) {
  start("keys");
  Bytes expected(kTapeSamples, 127);
  std::mt19937 random(7);
  uint64_t cycle_counter = 0;
  tape_record();
  for (int frame = 0; frame < 400; ++frame) {
    std::vector<uint32_t> moments((frame / 100) % 2 == 1 && frame % 100 < 90 ? 0 : random() % 6);
    for (uint32_t& t : moments) t = random() % kFrameTStates;
    std::sort(moments.begin(), moments.end());
    for (const uint32_t t : moments) {
      const uint8_t level = random() % 2 ? 255 : 0;
      const uint64_t at = (cycle_counter + t) * kSampleRate / kClockHz;
      std::fill_n(expected.begin() + at, std::min<uint64_t>(68'027, kTapeSamples - at), level);
      out_at(t, level & 0x80);
    }
    if (frame == 333) {  // a loaded tape replaces what was held
      load(Bytes(500'000, 200));
      std::fill(expected.begin(), expected.end(), 127);
      std::fill_n(expected.begin(), 500'000, 200);
    }
    const uint32_t ran = kFrameTStates + random() % 20;
    tape_frame_end(ran);
    cycle_counter += ran;
  }
  tape_stop();
  ASSERT_EQ(std::memcmp(machine.tape.buffer, expected.data(), kTapeSamples), 0);
  const Bytes file = read_bytes("data/default.raw");
  ASSERT_EQ(file.size(), cycle_counter * kSampleRate / kClockHz);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), expected.begin()));
}

TEST_F(TapeTest, RecordedSquareWavePlaysBackThroughThePort) {
  start("toggler");
  tape_record();
  host_frames(10);
  tape_stop();
  const Bytes recording = read_bytes("data/default.raw");
  ASSERT_EQ(recording.size(), machine.tape.position);
  ASSERT_GE(recording.size(), 10 * kSamplesPerFrame);
  int changes = 0;
  for (size_t i = 1; i < recording.size(); ++i) {
    ASSERT_TRUE(recording[i] == 0 || recording[i] == 255) << i;
    changes += recording[i] != recording[i - 1];
  }
  EXPECT_NEAR(changes, 10 * kFrameTStates / 251, 2);
  const Bytes reader = program("tape_reader");
  machine_load_rom_image(reader.data(), reader.size());
  machine_reset();
  tape_load("data/default.raw");
  tape_play();
  host_frames(11);
  // Past the recording the tape is silent, which reads low.
  EXPECT_EQ(counter(), changes + (recording.back() == 255 ? 1 : 0));
}

}  // namespace
