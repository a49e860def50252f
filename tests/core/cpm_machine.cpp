#include "tests/core/cpm_machine.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr uint16_t kWarmBoot = 0x0000;
constexpr uint16_t kBdosEntry = 0x0005;
constexpr uint16_t kProgramStart = 0x0100;
// The BDOS code sits at the top of the program area; the word at 0x0006 (the
// target of the jump at the entry) tells programs where that is.
constexpr uint16_t kBdosCode = 0xFE00;

constexpr uint8_t kHalt = 0x76;
constexpr uint8_t kJp = 0xC3;
constexpr uint8_t kOutNA = 0xD3;
constexpr uint8_t kRet = 0xC9;

constexpr uint8_t kPrintCharacter = 2;
constexpr uint8_t kPrintString = 9;

}  // namespace

CpmMachine::CpmMachine() : memory_(0x10000, 0) {
  // Warm boot: the processor halts at 0x0000 with interrupts off, so it stays
  // there and finished() can see it.
  memory_[kWarmBoot] = kHalt;
  // The BDOS: the entry jumps to a stub that hands the call to the host
  // through an OUT, then returns to the caller.
  memory_[kBdosEntry] = kJp;
  memory_[kBdosEntry + 1] = kBdosCode & 0xFF;
  memory_[kBdosEntry + 2] = kBdosCode >> 8;
  memory_[kBdosCode] = kOutNA;
  memory_[kBdosCode + 1] = 0x00;
  memory_[kBdosCode + 2] = kRet;

  // The memory callbacks get the bytes themselves: one load fewer on the
  // busiest path of the core.
  cpu_.read_mem = read_memory;
  cpu_.write_mem = write_memory;
  cpu_.mem_ctx = memory_.data();
  cpu_.read_port = read_port;
  cpu_.write_port = write_port;
  cpu_.port_ctx = this;
  z80_reset(&cpu_);
}

bool CpmMachine::load_program(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad() || program.empty() || program.size() > kBdosCode - kProgramStart) return false;

  std::copy(program.begin(), program.end(), memory_.begin() + kProgramStart);
  z80_reset(&cpu_);
  cpu_.pc = kProgramStart;
  // A program that simply returns lands on the warm boot, as under CP/M.
  cpu_.sp = kBdosCode - 2;
  memory_[cpu_.sp] = kWarmBoot & 0xFF;
  memory_[cpu_.sp + 1] = kWarmBoot >> 8;
  return true;
}

uint32_t CpmMachine::run(uint32_t t_states) { return z80_run(&cpu_, t_states); }

bool CpmMachine::finished() const { return cpu_.halted != 0 && cpu_.pc == kWarmBoot; }

std::string CpmMachine::take_console() {
  std::string text;
  text.swap(console_);
  return text;
}

uint8_t CpmMachine::read_memory(void* context, uint16_t address) { return static_cast<uint8_t*>(context)[address]; }

void CpmMachine::write_memory(void* context, uint16_t address, uint8_t value) {
  static_cast<uint8_t*>(context)[address] = value;
}

uint8_t CpmMachine::read_port(void*, uint16_t) { return 0xFF; }

// Only the BDOS stub writes to a port, so every port write is a BDOS call.
void CpmMachine::write_port(void* context, uint16_t, uint8_t) {
  static_cast<CpmMachine*>(context)->serve_bdos_call();
}

void CpmMachine::serve_bdos_call() {
  if (cpu_.c == kPrintCharacter) {
    console_ += static_cast<char>(cpu_.e);
  } else if (cpu_.c == kPrintString) {
    // At most one pass over memory, in case the '$' is missing.
    uint16_t address = static_cast<uint16_t>(cpu_.d << 8 | cpu_.e);
    for (int n = 0; n < 0x10000 && memory_[address] != '$'; ++n, ++address) {
      console_ += static_cast<char>(memory_[address]);
    }
  }
}
