// The tape deck at the end of its tape: a tape of any samples is loaded, the
// deck plays or records from just before (or past) the end, and a program of
// the input's choosing reads and writes port 0x80 across it. The deck must
// stop itself at the end with the head on the last sample, a recording must
// be written whole, and nothing stored past the buffer. Playing 30,000
// frames to get there would take minutes, so the tape clock is set near the
// end directly.
//
// Input: a flags byte (bits 0-1: play, record, record then play, play then
// record, switching after the first frame), the start's distance before the
// end in T-states (4 bytes, little-endian, modulo 400,000, less 100,000, so
// that it may lie past the end), the number of frames (1 to 8), the
// program's length (1 byte) and bytes, run from 0x4000; the rest is the tape.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/check.h"
#include "tests/fuzz/machine_sandbox.h"

namespace {

// The T-state count at which the sample clock reaches the end of the tape.
constexpr uint64_t kTapeEndTStates = kTapeSamples * kClockHz / kSampleRate;
static_assert(kTapeEndTStates * kSampleRate == kTapeSamples * kClockHz);
constexpr size_t kHeaderSize = 7;

uint64_t sample_at(uint64_t t_states) { return t_states * kSampleRate / kClockHz; }

void start(bool record, uint64_t clock) {
  record ? tape_record() : tape_play();
  machine.tape.cycle_counter = clock;
  machine.tape.position = sample_at(clock);
}

// A stopped recording is in "data/default.raw", as long as the head had gone.
void check_recording_written(uint64_t length) {
  std::error_code error;
  check(std::filesystem::file_size(kRecordingPath, error) == length && !error,
        "the recording written is missing or not as long as the tape ran");
  std::filesystem::remove(kRecordingPath, error);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sandbox_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderSize) return -1;
  const uint32_t distance = data[1] | data[2] << 8 | data[3] << 16 | static_cast<uint32_t>(data[4]) << 24;
  const int frames = 1 + data[5] % 8;
  const size_t program_size = std::min<size_t>(data[6], size - kHeaderSize);
  const uint8_t* program = data + kHeaderSize;
  tape_load_samples(program + program_size, size - kHeaderSize - program_size);
  machine_reset();
  std::copy_n(program, program_size, machine.memory + kSandboxProgramStart);
  machine.cpu.pc = kSandboxProgramStart;

  bool recording = (data[0] & 3) == 1 || (data[0] & 3) == 2;
  const bool switch_deck = (data[0] & 3) >= 2;
  uint64_t clock = kTapeEndTStates + 100'000 - distance % 400'000;
  start(recording, clock);
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
      check(machine.tape.state != TAPE_STOPPED, "the deck stopped before the end");
      check(machine.tape.position == end, "the head is not where the frame ended");
      continue;
    }
    check(machine.tape.state == TAPE_STOPPED, "the deck ran past the end of the tape");
    check(machine.tape.position == kTapeSamples, "the head is not on the end of the tape");
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
