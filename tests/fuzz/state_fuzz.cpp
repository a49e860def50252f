// A snapshot image of any size and content: every processor field may hold
// anything (interrupt mode 3 to 255, pending NMI and interrupt, HALT, the
// bus-opcode flag, any T-state count). Loading it must leave the machine's
// own bus bound and RAM as the image says, and the machine must then run
// frames: each one runs its 50,000 T-states and returns, and the ROM stays
// as it was.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/machine_sandbox.h"
#include "tests/fuzz/run_bound.h"

namespace {

constexpr int kFrames = 3;

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

bool ram_holds(const uint8_t* data, size_t size) {
  const size_t taken = size < kZ80ImageSize ? 0 : std::min<size_t>(size - kZ80ImageSize, kRamSize);
  const uint8_t* ram = machine.memory + kRamStart;
  if (taken > 0 && std::memcmp(ram, data + kZ80ImageSize, taken) != 0) return false;
  return std::all_of(ram + taken, ram + kRamSize, [](uint8_t b) { return b == 0; });
}

bool own_bus_bound() {
  const Z80State& cpu = machine.cpu;
  return cpu.read_mem == machine_mem_read && cpu.write_mem == machine_mem_write &&
         cpu.read_port == machine_port_in && cpu.write_port == machine_port_out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sandbox_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> rom(machine.memory, machine.memory + kRomSize);
  state_load_image(data, size);
  if (!own_bus_bound()) fault("the snapshot replaced the machine's bus callbacks");
  if (!ram_holds(data, size)) fault("RAM does not hold the snapshot's RAM part");
  if (size < kZ80ImageSize && machine.cpu.pc != 0) fault("a short snapshot left the processor unreset");
  for (int frame = 0; frame < kFrames; ++frame) {
    machine_frame();
    if (machine.cpu.cycles < kFrameTStates || machine.cpu.cycles >= kFrameTStates + kLongestPass)
      fault("a frame ran outside its 50,000 T-states plus one pass");
  }
  if (!std::equal(rom.begin(), rom.end(), machine.memory)) fault("the ROM changed");
  return 0;
}
