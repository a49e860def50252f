// A snapshot of any size and content, every processor field holding anything
// (interrupt mode 3 to 255, pending NMI and interrupt, HALT, the bus-opcode
// flag, any T-state count). Loading it must keep the machine's own bus, put
// the image's RAM part in RAM (zeros after a short one) and leave the
// machine reset when the image is shorter than the record; then every frame
// must run its 50,000 T-states and return, and the ROM stay as it was.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/check.h"
#include "tests/fuzz/machine_sandbox.h"
#include "tests/fuzz/run_bound.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sandbox_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> rom(machine.memory, machine.memory + kRomSize);
  state_load_image(data, size);
  const Z80State& cpu = machine.cpu;
  check(cpu.read_mem == machine_mem_read && cpu.write_mem == machine_mem_write &&
            cpu.read_port == machine_port_in && cpu.write_port == machine_port_out,
        "the snapshot replaced the machine's bus callbacks");
  const size_t taken = size < kZ80ImageSize ? 0 : std::min<size_t>(size - kZ80ImageSize, kRamSize);
  const uint8_t* ram = machine.memory + kRamStart;
  check((taken == 0 || std::memcmp(ram, data + kZ80ImageSize, taken) == 0) &&
            std::all_of(ram + taken, ram + kRamSize, [](uint8_t b) { return b == 0; }),
        "RAM does not hold the snapshot's RAM part");
  check(size >= kZ80ImageSize || cpu.pc == 0, "a short snapshot left the processor unreset");
  for (int frame = 0; frame < 3; ++frame) {
    machine_frame();
    check(cpu.cycles >= kFrameTStates && cpu.cycles < kFrameTStates + kLongestPass,
          "a frame ran outside its 50,000 T-states plus one pass");
  }
  check(std::equal(rom.begin(), rom.end(), machine.memory), "the ROM changed");
  return 0;
}
