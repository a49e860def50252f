// A bare CP/M-style computer for running instruction exercisers: 64 KiB of
// flat RAM, a program loaded at 0x0100, the two console calls of the BDOS
// (2: print the character in E; 9: print the text at DE up to '$') and a stop
// when the program jumps to 0x0000, the warm-boot address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/z80.h"

class CpmMachine {
 public:
  CpmMachine();

  // Loads a .COM file at 0x0100 and points the processor at it. Returns false
  // (and leaves the machine as it was) when the file cannot be read, is empty
  // or does not fit below the BDOS.
  bool load_program(const std::string& path);

  // Runs the processor for at least `t_states` T-states; returns those run.
  uint32_t run(uint32_t t_states);

  // True once the program has returned to CP/M.
  bool finished() const;

  // The console text printed since the last call.
  std::string take_console();

 private:
  static uint8_t read_memory(void* context, uint16_t address);
  static void write_memory(void* context, uint16_t address, uint8_t value);
  static uint8_t read_port(void* context, uint16_t address);
  static void write_port(void* context, uint16_t address, uint8_t value);
  void serve_bdos_call();

  std::vector<uint8_t> memory_;
  Z80State cpu_{};
  std::string console_;
};
