// The snapshot "data/vorn.state": the processor record's 69-byte image and
// RAM 0x4000-0xFFFF. The ROM, keys, tape and sound are not part of it.
#include <algorithm>
#include <vector>

#include "machine/file_io.h"
#include "machine/loaders.h"
#include "machine/machine.h"

void state_save_image(uint8_t image[kStateFileSize]) {
  z80_state_to_image(&machine.cpu, image);
  std::copy_n(machine.memory + kRamStart, kRamSize, image + kZ80ImageSize);
}

void state_save() {
  std::vector<uint8_t> image(kStateFileSize);
  state_save_image(image.data());
  write_file_replacing(kStatePath, image.data(), image.size());
}

void state_load_image(const uint8_t* data, size_t size) {
  machine_reset();
  // Too short to hold the processor: nothing is half-loaded, the machine
  // stays as reset leaves it.
  if (size < kZ80ImageSize) return;
  // The image's callback and context slots are never taken: the record
  // keeps the machine's own bus.
  z80_state_from_image(&machine.cpu, data);
  std::copy_n(data + kZ80ImageSize, std::min<size_t>(size - kZ80ImageSize, kRamSize),
              machine.memory + kRamStart);
}

void state_load() {
  // No snapshot file loads like an empty one: the machine is left reset.
  const auto image = read_file(kStatePath, kStateFileSize).value_or(std::vector<uint8_t>{});
  state_load_image(image.data(), image.size());
}
