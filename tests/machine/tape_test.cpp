// The tape deck: the T-state sample clock, playback, recording and its lazy
// fill, and the end of the tape. The system ROM's own saving and loading
// (tests/rom/tape_test.cpp) is the whole-machine check of recording and
// playback through the port.
#include <sys/stat.h>

#include <random>

#include "machine/loaders.h"
#include "machine/tape_deck.h"
#include "tests/machine/vorn_machine.h"

namespace {

using TapeTest = Vorn;

bool high_at(uint32_t t) { return in_at(t, 0x7F80) & 0x80; }

TEST_F(TapeTest, FileLoadsFromSample0ReadSamplesItAtItsTStateHighFrom144AndFramesAdvanceByWhatTheyRan) {
  start();
  type("b 440 9000\n", 2);  // a beep keeps interrupts off and never halts, so frames overshoot
  Bytes file(200, 0);
  file[0] = 144, file[1] = 143, file[2] = 127, file[3] = 255, file[176] = 200;
  write_bytes("data/short.raw", file);
  tape_play();
  machine.tape.buffer[2000] = 0;
  tape_load("data/short.raw");
  EXPECT_TRUE(std::equal(file.begin(), file.end(), machine.tape.buffer));
  EXPECT_TRUE(all_are(machine.tape.buffer + 200, machine.tape.buffer + kTapeSamples, 127));
  EXPECT_EQ(machine.tape.state, TAPE_PLAYING) << "loading neither starts nor stops the deck";
  std::string seen;
  for (const uint32_t t : {56, 57, 114, 171, 10'000}) seen += high_at(t) ? '1' : '0';
  EXPECT_EQ(seen, "10011");
  EXPECT_EQ(machine.tape.position, 176u);
  uint64_t ran = 0;
  for (int frame = 0; frame < 10; ++frame) machine_frame(), ran += machine.cpu.cycles;
  ASSERT_GT(ran, 10 * kFrameTStates) << "the frames overshoot their budget";
  EXPECT_EQ(machine.tape.cycle_counter, ran);
  machine.tape.buffer[(ran + 10'000) * kSampleRate / kClockHz] = 200;
  EXPECT_TRUE(high_at(10'000));
  tape_load("data/missing.raw");
  EXPECT_TRUE(all_are(machine.tape.buffer, machine.tape.buffer + kTapeSamples, 127));
  // A pipe named as a tape is not waited on: it would block until a writer came.
  ASSERT_EQ(mkfifo("data/pipe.raw", 0600), 0);
  machine.tape.buffer[0] = 0;
  tape_load("data/pipe.raw");
  EXPECT_EQ(machine.tape.buffer[0], 127);
}

TEST_F(TapeTest, DeckStopsItselfAtTheEndAndARecordingWritesTheWholeTape) {
  start();
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

// A first recording thrown away by recording again; then output writes at
// random moments over many frames, with silences longer than a hold and a tape
// loaded mid-recording, against a model that stores each write's whole hold
// of 68,027 samples at once. Playing writes the recording and plays it.
TEST_F(TapeTest, RecordAgainDiscardsALazyFillEqualsStoringEachWritesWholeHoldAndPlayWritesIt) {
  start();  // silent at its prompt
  tape_record();
  out_at(0, 0x00);
  tape_frame_end(kFrameTStates);
  tape_record();
  EXPECT_FALSE(fs::exists("data/default.raw"));
  EXPECT_EQ(machine.tape.position, 0u);
  Bytes expected(kTapeSamples, 127);
  std::mt19937 random(7);
  uint64_t cycle_counter = 0;
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
      const Bytes loaded(500'000, 200);
      tape_load_samples(loaded.data(), loaded.size());
      std::fill(expected.begin(), expected.end(), 127);
      std::fill_n(expected.begin(), 500'000, 200);
    }
    const uint32_t ran = kFrameTStates + random() % 20;
    tape_frame_end(ran);
    cycle_counter += ran;
  }
  tape_play();
  ASSERT_TRUE(std::equal(expected.begin(), expected.end(), machine.tape.buffer));
  const Bytes file = read_bytes("data/default.raw");
  ASSERT_EQ(file.size(), cycle_counter * kSampleRate / kClockHz);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), expected.begin()));
  EXPECT_FALSE(fs::exists("data/default.raw.tmp"));
  EXPECT_TRUE(machine.tape.state == TAPE_PLAYING && machine.tape.position == 0);
}

}  // namespace
