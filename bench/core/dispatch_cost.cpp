// The fixed cost of the core's design, apart from what any instruction does:
// runs blocks of one simple instruction, repeated, on flat memory with the
// cheapest possible bus callbacks, and prints the host processor time per
// instruction and per bus access. Every instruction costs one trip through
// the run loop (the opcode fetch through the read callback, one indirect call
// of the handler); every operand or data access adds one more callback. The
// figures bound from above how fast any workload can run, given how many bus
// accesses its instructions make on average. Each kind runs five times and
// the fastest run counts: on a shared machine the others measure the noise.
// With --plain-memory the core reads the bytes straight instead of calling
// the read callback, as it may for memory without side effects; writes still
// call theirs.
//
//   dispatch_cost [--seconds S] [--plain-memory]   (S: 0.1 to 60 per run, default 0.5)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "core/z80.h"

namespace {

struct Kind {
  const char* name;
  std::vector<uint8_t> instruction;
  int t_states;
  int accesses;  // bus accesses, the opcode fetch included
  bool jump_chain = false;  // JP nn, each to the one after it
};

uint8_t read_memory(void* context, uint16_t address) { return static_cast<uint8_t*>(context)[address]; }
void write_memory(void* context, uint16_t address, uint8_t value) { static_cast<uint8_t*>(context)[address] = value; }
uint8_t read_port(void*, uint16_t) { return 0xFF; }
void write_port(void*, uint16_t, uint8_t) {}

constexpr uint16_t kStart = 0x0100;
constexpr int kCopies = 4000;

constexpr int kRuns = 5;

// Runs the kind for about `seconds`; returns nanoseconds per instruction.
double nanoseconds_per_instruction(const Kind& kind, double seconds, bool plain_memory) {
  std::vector<uint8_t> memory(0x10000, 0);
  size_t at = kStart;
  for (int n = 0; n < kCopies; ++n) {
    if (kind.jump_chain) {
      const size_t next = at + 3;
      memory[at++] = 0xC3;
      memory[at++] = static_cast<uint8_t>(next);
      memory[at++] = static_cast<uint8_t>(next >> 8);
    }
    for (const uint8_t byte : kind.instruction) memory[at++] = byte;
  }
  memory[at++] = 0xC3;  // JP kStart, once per block
  memory[at++] = kStart & 0xFF;
  memory[at++] = kStart >> 8;

  Z80State cpu{};
  cpu.read_mem = read_memory;
  cpu.write_mem = write_memory;
  cpu.mem_ctx = memory.data();
  if (plain_memory) cpu.plain_memory = memory.data();
  cpu.read_port = read_port;
  cpu.write_port = write_port;
  z80_reset(&cpu);
  cpu.pc = kStart;
  cpu.sp = 0xF000;
  cpu.h = 0xC0;

  const uint32_t block = kCopies * kind.t_states + 10;
  uint64_t blocks = 0;
  // Processor time, not wall-clock time: others' work on a shared machine
  // then only disturbs the caches, not the count.
  const std::clock_t start = std::clock();
  double elapsed = 0;
  while (elapsed < seconds) {
    z80_run(&cpu, 100 * block - 5);  // stops just after the 100th JP
    blocks += 100;
    elapsed = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  }
  return elapsed * 1e9 / static_cast<double>(blocks * kCopies);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 0.5;
  bool plain_memory = false;
  bool valid = true;
  for (int n = 1; n < argc && valid; ++n) {
    if (std::strcmp(argv[n], "--seconds") == 0 && n + 1 < argc) {
      char* end = nullptr;
      seconds = std::strtod(argv[++n], &end);
      valid = *end == '\0' && seconds >= 0.1 && seconds <= 60;
    } else if (std::strcmp(argv[n], "--plain-memory") == 0) {
      plain_memory = true;
    } else {
      valid = false;
    }
  }
  if (!valid) {
    std::fprintf(stderr, "usage: %s [--seconds S (0.1-60)] [--plain-memory]\n", argv[0]);
    return 2;
  }
  const Kind kinds[] = {
      {"NOP", {0x00}, 4, 1},
      {"LD A,B", {0x78}, 4, 1},
      {"LD A,n", {0x3E, 0x55}, 7, 2},
      {"LD A,(HL)", {0x7E}, 7, 2},
      {"LD (HL),A", {0x77}, 7, 2},
      {"EX (SP),HL", {0xE3}, 19, 5},
      {"JP nn (to the next)", {}, 10, 3, true},
  };
  std::printf("memory reads: %s\n", plain_memory ? "plain memory" : "read callback");
  std::printf("%-22s %9s %10s %12s\n", "instruction", "MHz", "ns/instr", "ns/access");
  for (const Kind& kind : kinds) {
    double per_instruction = nanoseconds_per_instruction(kind, seconds, plain_memory);
    for (int run = 1; run < kRuns; ++run) {
      per_instruction = std::min(per_instruction, nanoseconds_per_instruction(kind, seconds, plain_memory));
    }
    std::printf("%-22s %9.0f %10.2f %12.2f\n", kind.name, kind.t_states / per_instruction * 1e3, per_instruction,
                per_instruction / kind.accesses);
  }
  return 0;
}
