// The processor on anything: any record (interrupt mode, pending NMI and
// interrupt, EI delay, HALT, a mode 0 opcode on the data bus, the bus-opcode
// flag), any port values, any 64 KiB of memory, any budget. Every run must
// come back having run its budget and less than one more pass of the run
// loop, with no undefined behaviour on the way.
//
// Input: the record's 69-byte image, the budget (2 bytes, little-endian), 16
// port values read in turn, a flags byte (bit 0: execute one instruction
// first, which honours the bus-opcode flag), then memory, repeated to 64 KiB.
#include <array>
#include <cstdint>

#include "core/z80.h"
#include "tests/fuzz/check.h"
#include "tests/fuzz/run_bound.h"

namespace {

constexpr size_t kBudgetAt = kZ80ImageSize, kPortsAt = kBudgetAt + 2, kPortCount = 16;
constexpr size_t kFlagsAt = kPortsAt + kPortCount, kMemoryAt = kFlagsAt + 1;

std::array<uint8_t, 0x10000> memory;
const uint8_t* ports;
size_t port_reads;

uint8_t read_memory(void*, uint16_t address) { return memory[address]; }
void write_memory(void*, uint16_t address, uint8_t value) { memory[address] = value; }
uint8_t read_port(void*, uint16_t) { return ports[port_reads++ % kPortCount]; }
void write_port(void*, uint16_t, uint8_t) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kMemoryAt) return -1;
  ports = data + kPortsAt;
  port_reads = 0;
  for (size_t i = 0; i < memory.size(); ++i)
    memory[i] = size == kMemoryAt ? 0 : data[kMemoryAt + i % (size - kMemoryAt)];

  Z80State s{};
  s.read_mem = read_memory;
  s.write_mem = write_memory;
  s.read_port = read_port;
  s.write_port = write_port;
  z80_state_from_image(&s, data);
  if (data[kFlagsAt] & 1) z80_execute(&s);
  const uint32_t budget = data[kBudgetAt] | data[kBudgetAt + 1] << 8;
  const uint32_t ran = z80_run(&s, budget);
  check(ran == s.cycles, "the result differs from the T-state count");
  check(budget == 0 ? ran == 0 : ran >= budget && ran < budget + kLongestPass,
        "the run ended outside its budget plus one pass");
  return 0;
}
