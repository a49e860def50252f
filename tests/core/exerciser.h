// Runs an instruction exerciser (zexdoc, zexall) on a bare CP/M-style
// computer: 64 KiB of flat RAM, the program at 0100h, the two console calls
// of the BDOS (2: print the character in E; 9: print the text at DE up to
// '$') and a stop when the program returns to 0000h, the warm boot. Its
// memory reads go through the read callback, or with `plain_memory` straight
// to the bytes, as the core allows for memory without side effects. Each
// exerciser test prints one line, "<name>....  OK" or
// "<name>....  ERROR **** crc expected:xxxxxxxx found:yyyyyyyy".
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/z80.h"

struct ExerciserRun {
  bool loaded = false;    // the program was read and fits below the BDOS
  bool finished = false;  // it returned to CP/M
  uint64_t t_states = 0;
  std::vector<std::string> results;  // the lines that report a test
  std::vector<std::string> errors;   // the results that report a CRC mismatch
};

// A whole run is about 47 billion T-states; a core that loops or loses its
// way is stopped well after that.
inline constexpr uint64_t kExerciserBudget = 80'000'000'000;

// Runs `file_name` from the shared test-program folder until it returns to
// CP/M, until `max_results` tests have reported (0: no limit) or until the
// budget has run out; with `echo`, prints each line once it is complete.
inline ExerciserRun run_exerciser(const std::string& file_name, int max_results, bool echo,
                                  bool plain_memory = false) {
  struct Computer {
    std::vector<uint8_t> memory = std::vector<uint8_t>(0x10000);
    Z80State cpu{};
    std::string console;
  } computer;
  ExerciserRun run;
  std::ifstream file(std::string(VORN_Z80TESTS_DIR) + "/" + file_name, std::ios::binary);
  const std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (program.empty() || program.size() > 0xFE00 - 0x0100) return run;
  run.loaded = true;
  std::vector<uint8_t>& memory = computer.memory;
  std::copy(program.begin(), program.end(), memory.begin() + 0x0100);
  // 0000h: HALT with interrupts off, where the run stops. 0005h: JP FE00h,
  // the BDOS, which hands the call to the host through OUT (0),A and returns.
  const uint8_t low_memory[] = {0x76, 0, 0, 0, 0, 0xC3, 0x00, 0xFE};
  std::copy(std::begin(low_memory), std::end(low_memory), memory.begin());
  const uint8_t bdos[] = {0xD3, 0x00, 0xC9};
  std::copy(std::begin(bdos), std::end(bdos), memory.begin() + 0xFE00);

  Z80State& cpu = computer.cpu;
  // The memory callbacks get the bytes themselves: one load fewer on the
  // busiest path of the core.
  cpu.read_mem = [](void* bytes, uint16_t address) { return static_cast<uint8_t*>(bytes)[address]; };
  cpu.write_mem = [](void* bytes, uint16_t address, uint8_t value) {
    static_cast<uint8_t*>(bytes)[address] = value;
  };
  cpu.mem_ctx = memory.data();
  if (plain_memory) cpu.plain_memory = memory.data();
  cpu.read_port = [](void*, uint16_t) -> uint8_t { return 0xFF; };
  // Only the BDOS writes to a port, so every port write is a BDOS call; the
  // text is cut after one pass over memory, in case its '$' is missing.
  cpu.write_port = [](void* context, uint16_t, uint8_t) {
    Computer& c = *static_cast<Computer*>(context);
    if (c.cpu.c == 2) c.console += static_cast<char>(c.cpu.e);
    if (c.cpu.c != 9) return;
    auto at = static_cast<uint16_t>(c.cpu.d << 8 | c.cpu.e);
    for (int n = 0; n < 0x10000 && c.memory[at] != '$'; ++n, ++at) {
      c.console += static_cast<char>(c.memory[at]);
    }
  };
  cpu.port_ctx = &computer;
  z80_reset(&cpu);
  cpu.pc = 0x0100;
  cpu.sp = 0xFDFE;  // holds 0000h: a program that simply returns lands on the warm boot

  while (!run.finished && (max_results == 0 || run.results.size() < static_cast<size_t>(max_results)) &&
         run.t_states < kExerciserBudget) {
    // Slices large enough that the checks between them cost nothing.
    run.t_states += z80_run(&cpu, 10'000'000);
    run.finished = cpu.halted && cpu.pc == 0x0000;
    std::string& console = computer.console;
    for (size_t end; (end = console.find('\n')) != std::string::npos; console.erase(0, end + 1)) {
      std::string line = console.substr(0, end);
      std::erase(line, '\r');
      if (echo) std::cout << line << std::endl;
      const bool error = line.find("  ERROR ****") != std::string::npos;
      if (error) run.errors.push_back(line);
      if (error || line.ends_with("  OK")) run.results.push_back(line);
    }
  }
  return run;
}
