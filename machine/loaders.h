// The machine's data files, and loaders that take a file's bytes from memory.
// The public operations read their fixed "data/..." file and hand its bytes
// to these; every loader accepts any length, including 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "machine/machine.h"

inline constexpr const char* kRomPath = "data/vorn.bin";
inline constexpr const char* kDevImagePath = "data/dev.bin";
inline constexpr const char* kRecordingPath = "data/default.raw";
inline constexpr const char* kStatePath = "data/vorn.state";

// Snapshot: the processor image followed by RAM 0x4000-0xFFFF.
inline constexpr size_t kStateFileSize = kZ80ImageSize + kRamSize;
static_assert(kStateFileSize == 49'221);

// The first kRomSize bytes become 0x0000-0x3FFF; a shorter image leaves the
// rest of the ROM as it was.
void machine_load_rom_image(const uint8_t* data, size_t size);

// The first kDevImageMaxSize bytes are stored from kDevImageStart on,
// directly (ROM protection does not apply there, it is all RAM).
void machine_load_dev_bytes(const uint8_t* data, size_t size);

// The tape becomes these samples, cut at kTapeSamples, with silence (127)
// after them.
void tape_load_samples(const uint8_t* data, size_t size);

// Resets the machine as machine_reset does, then restores the processor and
// RAM from a snapshot image. An image shorter than the processor record
// leaves the machine reset; a short RAM part leaves the rest of RAM at 0.
void state_load_image(const uint8_t* data, size_t size);

// Writes the snapshot image of the running machine.
void state_save_image(uint8_t image[kStateFileSize]);
