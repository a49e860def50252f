// The machine's memory blocks and life: set-up, reset, the extra memory
// image, release, and the memory bus.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "machine/file_io.h"
#include "machine/loaders.h"
#include "machine/machine.h"

Machine machine{};

namespace {

void clear_ram_and_display() {
  std::memset(machine.frame_buffer, 0, kFrameBufferSize);
  std::memset(machine.memory + kRamStart, 0, kRamSize);
}

template <typename T>
void free_block(T*& block) {
  std::free(block);
  block = nullptr;
}

}  // namespace

int machine_init() {
  machine.memory = static_cast<uint8_t*>(std::malloc(kMemorySize));
  machine.frame_buffer = static_cast<uint8_t*>(std::malloc(kFrameBufferSize));
  machine.tape.buffer = static_cast<uint8_t*>(std::malloc(kTapeSamples));
  machine.speaker = static_cast<uint8_t*>(std::malloc(kSamplesPerFrame));
  if (!machine.memory || !machine.frame_buffer || !machine.tape.buffer || !machine.speaker)
    return 1;
  for (uint8_t*& row : machine.keys.rows) {
    row = static_cast<uint8_t*>(std::calloc(kKeyColumns, 1));
    if (!row) return 1;
  }
  machine.tape.state = TAPE_STOPPED;
  machine.tape.pending = false;
  std::memset(machine.tape.buffer, kSilentSample, kTapeSamples);
  machine.sound_active = 0;

  // The ROM area starts blank so that a short image leaves nothing undefined.
  std::memset(machine.memory, 0xFF, kRomSize);
  const auto rom = read_file(kRomPath, kRomSize);
  if (!rom) return 1;
  machine_load_rom_image(rom->data(), rom->size());

  machine.cpu.read_mem = machine_mem_read;
  machine.cpu.write_mem = machine_mem_write;
  machine.cpu.read_port = machine_port_in;
  machine.cpu.write_port = machine_port_out;
  machine.cpu.mem_ctx = nullptr;
  machine.cpu.port_ctx = nullptr;
  // Reads of ROM and RAM have no side effect, so the core may take them
  // straight from memory; writes still go through machine_mem_write, which
  // keeps the ROM read-only.
  machine.cpu.plain_memory = machine.memory;
  clear_ram_and_display();
  z80_reset(&machine.cpu);
  return 0;
}

void machine_reset() {
  clear_ram_and_display();
  z80_reset(&machine.cpu);
}

void machine_load_rom_image(const uint8_t* data, size_t size) {
  std::copy_n(data, std::min<size_t>(size, kRomSize), machine.memory);
}

void machine_load_dev_bytes(const uint8_t* data, size_t size) {
  std::copy_n(data, std::min<size_t>(size, kDevImageMaxSize), machine.memory + kDevImageStart);
}

void machine_load_dev_image() {
  if (const auto image = read_file(kDevImagePath, kDevImageMaxSize))
    machine_load_dev_bytes(image->data(), image->size());
}

void machine_free() {
  machine.cpu.plain_memory = nullptr;
  free_block(machine.memory);
  free_block(machine.frame_buffer);
  for (uint8_t*& row : machine.keys.rows) free_block(row);
  free_block(machine.tape.buffer);
  free_block(machine.speaker);
}

uint8_t machine_mem_read(void*, uint16_t address) { return machine.memory[address]; }

void machine_mem_write(void*, uint16_t address, uint8_t value) {
  if (address >= kRamStart) machine.memory[address] = value;
}
