// The tape deck at the end of its tape. A tape of any samples is loaded, the
// deck plays or records from a point just before (or past) the end, and a
// program of the input's choosing reads and writes port 0x80 across the end.
// The deck must stop itself at the end with the head on the last sample, a
// recording must be written whole, and nothing may be stored past the
// buffer. Reaching the end by playing 30,000 frames would take minutes, so
// the tape clock is set near the end directly.
//
// Input: a flags byte (bits 0-1: play, record, record then play, play then
// record; the switch comes after the first frame), the start's distance
// before the end in T-states (4 bytes, little-endian, taken modulo 400,000
// and less 100,000, so that it may also lie past the end), the number of
// frames (1 to 8), the program's length (1 byte) and bytes, put at 0x4000,
// where the processor starts; the rest is the tape.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/machine_sandbox.h"

namespace {

// The T-state count at which the sample clock reaches the end of the tape.
constexpr uint64_t kTapeEndTStates = kTapeSamples * kClockHz / kSampleRate;
static_assert(kTapeEndTStates * kSampleRate == kTapeSamples * kClockHz);

constexpr size_t kHeaderSize = 7;

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

uint64_t sample_at(uint64_t t_states) { return t_states * kSampleRate / kClockHz; }

void start(bool record, uint64_t cycle_counter) {
  if (record)
    tape_record();
  else
    tape_play();
  machine.tape.cycle_counter = cycle_counter;
  machine.tape.position = sample_at(cycle_counter);
}

// A recording that stopped must be in "data/default.raw", exactly as long as
// the head had gone.
void check_recording_written(uint64_t length) {
  std::error_code error;
  const uint64_t written = std::filesystem::file_size(kRecordingPath, error);
  if (error) fault("a stopped recording was not written");
  if (written != length) fault("the recording written is not as long as the tape ran");
  std::filesystem::remove(kRecordingPath, error);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sandbox_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderSize) return -1;
  const uint8_t flags = data[0];
  const uint32_t distance = static_cast<uint32_t>(data[1] | data[2] << 8 | data[3] << 16) |
                            static_cast<uint32_t>(data[4]) << 24;
  const int frames = 1 + data[5] % 8;
  const size_t program_size = std::min<size_t>(data[6], size - kHeaderSize);
  const uint8_t* program = data + kHeaderSize;
  const uint8_t* samples = program + program_size;

  tape_load_samples(samples, size - kHeaderSize - program_size);
  machine_reset();
  std::copy_n(program, program_size, machine.memory + kSandboxProgramStart);
  machine.cpu.pc = kSandboxProgramStart;

  const bool record_first = (flags & 3) == 1 || (flags & 3) == 2;
  const bool switch_deck = (flags & 3) >= 2;
  uint64_t clock = kTapeEndTStates + 100'000 - distance % 400'000;
  start(record_first, clock);
  bool recording = record_first;

  for (int frame = 0; frame < frames; ++frame) {
    if (frame == 1 && switch_deck && machine.tape.state != TAPE_STOPPED) {
      const uint64_t reached = machine.tape.position;
      start(!recording, clock);
      if (recording) check_recording_written(reached);
      recording = !recording;
    }
    const bool running = machine.tape.state != TAPE_STOPPED;
    machine_frame();
    if (!running) continue;
    clock += machine.cpu.cycles;
    const uint64_t end = sample_at(clock);
    if (end < kTapeSamples) {
      if (machine.tape.state == TAPE_STOPPED) fault("the deck stopped before the end");
      if (machine.tape.position != end) fault("the head is not where the frame ended");
      continue;
    }
    if (machine.tape.state != TAPE_STOPPED) fault("the deck ran past the end of the tape");
    if (machine.tape.position != kTapeSamples) fault("the head is not on the end of the tape");
    if (recording) check_recording_written(kTapeSamples);
  }
  if (machine.tape.state == TAPE_RECORDING) {
    const uint64_t reached = machine.tape.position;
    tape_stop();
    check_recording_written(reached);
  }
  tape_stop();
  return 0;
}
