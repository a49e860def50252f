// The processor on anything: any 64 KiB of memory, any values on the ports,
// any record (interrupt mode, pending NMI and interrupt, EI delay, HALT, a
// mode 0 opcode on the data bus, the bus-opcode flag), run for any budget.
// Every run must come back, having run its budget and at most one more pass
// of the run loop, with no undefined behaviour on the way.
//
// Input: the record's 69-byte image, the budget (2 bytes, little-endian), 16
// port values handed out in turn, a flags byte (bit 0: execute one
// instruction first, honouring the bus-opcode flag), then memory, repeated to
// fill all 64 KiB.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/z80.h"
#include "tests/fuzz/run_bound.h"

namespace {

constexpr size_t kBudgetOffset = kZ80ImageSize;
constexpr size_t kPortsOffset = kBudgetOffset + 2;
constexpr size_t kPortValues = 16;
constexpr size_t kFlagsOffset = kPortsOffset + kPortValues;
constexpr size_t kMemoryOffset = kFlagsOffset + 1;

struct Bus {
  std::array<uint8_t, 0x10000> memory;
  std::array<uint8_t, kPortValues> ports;
  size_t next_port = 0;
};

uint8_t read_memory(void* context, uint16_t address) {
  return static_cast<Bus*>(context)->memory[address];
}

void write_memory(void* context, uint16_t address, uint8_t value) {
  static_cast<Bus*>(context)->memory[address] = value;
}

uint8_t read_port(void* context, uint16_t) {
  Bus& bus = *static_cast<Bus*>(context);
  return bus.ports[bus.next_port++ % kPortValues];
}

void write_port(void*, uint16_t, uint8_t) {}

[[noreturn]] void fault(const char* what, uint32_t budget, uint32_t ran) {
  std::fprintf(stderr, "%s: budget %u, ran %u\n", what, budget, ran);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kMemoryOffset) return -1;
  static Bus bus;
  bus.next_port = 0;
  std::copy_n(data + kPortsOffset, kPortValues, bus.ports.begin());
  const size_t code_size = size - kMemoryOffset;
  for (size_t i = 0; i < bus.memory.size(); ++i)
    bus.memory[i] = code_size == 0 ? 0 : data[kMemoryOffset + i % code_size];

  Z80State s{};
  s.read_mem = read_memory;
  s.write_mem = write_memory;
  s.read_port = read_port;
  s.write_port = write_port;
  s.mem_ctx = s.port_ctx = &bus;
  z80_state_from_image(&s, data);
  if (data[kFlagsOffset] & 1) z80_execute(&s);

  const uint32_t budget = static_cast<uint32_t>(data[kBudgetOffset] | data[kBudgetOffset + 1] << 8);
  const uint32_t ran = z80_run(&s, budget);
  if (ran != s.cycles) fault("the result differs from the T-state count", budget, ran);
  if (budget == 0 ? ran != 0 : ran < budget || ran >= budget + kLongestPass)
    fault("the run ended outside its budget plus one pass", budget, ran);
  return 0;
}
