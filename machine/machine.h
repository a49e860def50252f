// The Vorn computer around the processor: 16 KiB of ROM, 48 KiB of RAM with
// the display in its top 8 KiB, the keyboard matrix, the speaker and the tape
// deck, all on port 0x80. There is one Machine per process.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/z80.h"

// Fixed timing of the machine.
inline constexpr uint32_t kClockHz = 2'500'000;
inline constexpr uint32_t kFramesPerSecond = 50;
inline constexpr uint32_t kFrameTStates = kClockHz / kFramesPerSecond;  // 50,000
inline constexpr uint32_t kSampleRate = 44'100;
inline constexpr uint32_t kSamplesPerFrame = kSampleRate / kFramesPerSecond;  // 882
static_assert(kFrameTStates == 50'000 && kSamplesPerFrame == 882);

// Sound and tape samples are unsigned bytes: the output bit gives 0 or 255,
// and this level is silence (the speaker at rest, an empty tape).
inline constexpr uint8_t kSilentSample = 127;

// Memory map.
inline constexpr uint32_t kMemorySize = 0x10000;
inline constexpr uint32_t kRomSize = 0x4000;
inline constexpr uint32_t kRamStart = 0x4000;
inline constexpr uint32_t kRamSize = kMemorySize - kRamStart;  // 49,152
inline constexpr uint32_t kDisplayStart = 0xE000;
inline constexpr uint32_t kDisplaySize = 0x2000;
inline constexpr uint32_t kDevImageStart = 0x5000;
inline constexpr uint32_t kDevImageMaxSize = 0x8000;

// Display: 256 x 256 one-bit pixels, converted to 32-bit ARGB.
inline constexpr uint32_t kScreenWidth = 256;
inline constexpr uint32_t kScreenHeight = 256;
inline constexpr uint32_t kFrameBufferSize = kScreenWidth * kScreenHeight * 4;  // 262,144
inline constexpr uint32_t kFrameBufferPitch = kScreenWidth * 4;

// Tape: ten minutes of 8-bit samples.
inline constexpr uint64_t kTapeSamples = 600ull * kSampleRate;  // 26,460,000
static_assert(kTapeSamples == 26'460'000);

inline constexpr uint8_t kPort = 0x80;

// Keyboard: 8 rows of 5 keys; a byte is nonzero while its key is down.
inline constexpr int kKeyRows = 8;
inline constexpr int kKeyColumns = 5;
struct KeyMatrix {
  uint8_t* rows[kKeyRows];
};

enum TapeState : uint32_t { TAPE_STOPPED = 0, TAPE_PLAYING = 1, TAPE_RECORDING = 2 };

struct TapeDeck {
  uint32_t state;
  uint64_t cycle_counter;  // T-states since play or record began (C)
  uint64_t position;       // sample index last reached (P)
  uint8_t* buffer;         // kTapeSamples samples
  // Recording fills lazily: the level of the last output write holds from
  // `pending_from` for a fixed number of samples; it is written into the
  // buffer when the next write, play or stop comes, and dropped when a tape
  // load or a new recording replaces the buffer.
  uint8_t pending_level;
  uint64_t pending_from;
  bool pending;
};

struct Machine {
  Z80State cpu;
  uint8_t* memory;        // kMemorySize bytes
  uint8_t* frame_buffer;  // kFrameBufferSize bytes
  KeyMatrix keys;
  TapeDeck tape;
  uint8_t* speaker;  // kSamplesPerFrame samples
  uint32_t sound_active;
};

extern Machine machine;

// Set-up and life.
int machine_init();  // 0 on success, 1 on failure (no memory, no "data/vorn.bin")
void machine_reset();
void machine_load_dev_image();
void machine_free();

// Bus callbacks.
uint8_t machine_mem_read(void* context, uint16_t address);
void machine_mem_write(void* context, uint16_t address, uint8_t value);
uint8_t machine_port_in(void* context, uint16_t port);
void machine_port_out(void* context, uint16_t port, uint8_t value);

// One 20 ms frame.
void machine_frame();
void video_convert();

// The host keyboard as keys_update sees it: arrays indexed by SDL scancode,
// owned by the host. The previous state is the host's copy from the end of
// the last frame; keys_update reads it and updates the hold counters.
struct HostKeyboard {
  const uint8_t* state;
  const uint8_t* previous;
  uint32_t* hold_counters;
  int count;
};
void keys_update(const HostKeyboard& host);

// Tape deck.
void tape_load(const char* path);
void tape_play();
void tape_record();
void tape_stop();

// Snapshot "data/vorn.state".
void state_save();
void state_load();
