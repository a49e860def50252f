// The tape deck: ten minutes of 8-bit samples at 44,100 Hz in memory, played
// into port 0x80's input bit and recorded from its output bit.
//
// Recording fills lazily. Each output write sets the level from its own
// sample for kRecordHoldSamples samples, and the next write overrides it from
// its sample on. Since the head only moves forward while recording, the
// level of the latest write is kept pending and stored only up to the next
// write's sample, or in full when the deck plays or stops. The buffer then
// holds exactly what storing the whole hold at every write would give, at the
// cost of the samples that actually pass.
#include "machine/tape_deck.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "machine/file_io.h"
#include "machine/loaders.h"
#include "machine/machine.h"

namespace {

constexpr uint8_t kHighThreshold = 144;

TapeDeck& deck() { return machine.tape; }

uint64_t sample_index(uint64_t t) {
  return (deck().cycle_counter * kSampleRate + t * kSampleRate) / kClockHz;
}

// Stores the pending level from where its write fell up to `until`, or to
// the end of its hold if that comes first.
void settle_pending(uint64_t until) {
  TapeDeck& tape = deck();
  if (!tape.pending) return;
  tape.pending = false;
  const uint64_t end = std::min({tape.pending_from + kRecordHoldSamples, until, kTapeSamples});
  if (tape.pending_from < end)
    std::memset(tape.buffer + tape.pending_from, tape.pending_level, end - tape.pending_from);
}

void start(TapeState state) {
  deck().state = state;
  deck().position = 0;
  deck().cycle_counter = 0;
}

}  // namespace

void tape_load_samples(const uint8_t* data, size_t size) {
  // A level still pending from a recording belongs to the tape being replaced.
  deck().pending = false;
  const size_t count = std::min<uint64_t>(size, kTapeSamples);
  std::copy_n(data, count, deck().buffer);
  std::memset(deck().buffer + count, kSilentSample, kTapeSamples - count);
}

void tape_load(const char* path) {
  // A file that cannot be read leaves a silent tape.
  const auto samples = read_file(path, kTapeSamples).value_or(std::vector<uint8_t>{});
  tape_load_samples(samples.data(), samples.size());
}

void tape_play() {
  if (deck().state == TAPE_RECORDING) tape_stop();
  start(TAPE_PLAYING);
}

void tape_record() {
  deck().pending = false;
  std::memset(deck().buffer, kSilentSample, kTapeSamples);
  start(TAPE_RECORDING);
}

void tape_stop() {
  TapeDeck& tape = deck();
  if (tape.state == TAPE_RECORDING) {
    settle_pending(kTapeSamples);
    // A recording that cannot be written is lost; the deck stops all the same.
    write_file_replacing(kRecordingPath, tape.buffer, std::min(tape.position, kTapeSamples));
  }
  tape.position = std::min(tape.position, kTapeSamples);
  tape.state = TAPE_STOPPED;
  tape.cycle_counter = 0;
}

bool tape_input_high(uint32_t t) {
  TapeDeck& tape = deck();
  tape.position = sample_index(t);
  return tape.position < kTapeSamples && tape.buffer[tape.position] >= kHighThreshold;
}

void tape_record_level(uint32_t t, uint8_t level) {
  TapeDeck& tape = deck();
  if (tape.position >= kTapeSamples) return;
  tape.position = sample_index(t);
  settle_pending(tape.position);
  tape.pending = true;
  tape.pending_level = level;
  tape.pending_from = tape.position;
}

void tape_frame_end(uint32_t ran) {
  TapeDeck& tape = deck();
  if (tape.state == TAPE_STOPPED) return;
  tape.position = sample_index(ran);
  if (tape.position < kTapeSamples)
    tape.cycle_counter += ran;
  else
    tape_stop();
}
