// The processor's bus. Every access charges its T-states to `cycles` first
// and only then calls the callback, so a callback that reads `cycles` learns
// where in time its access falls. A memory access costs 3; `charge` adds the
// internal cycles an instruction spends just before that access. A read from
// plain memory is charged the same and calls nothing.
#pragma once

#include <cstdint>

#include "core/z80.h"

inline uint8_t read_byte(Z80State* s, uint16_t address, uint32_t charge = 3) {
  s->cycles += charge;
  if (s->plain_memory) return s->plain_memory[address];
  return s->read_mem(s->mem_ctx, address);
}

inline void write_byte(Z80State* s, uint16_t address, uint8_t value, uint32_t charge = 3) {
  s->cycles += charge;
  s->write_mem(s->mem_ctx, address, value);
}

// A port access costs 4.
inline uint8_t port_in(Z80State* s, uint16_t port, uint32_t charge = 4) {
  s->cycles += charge;
  return s->read_port(s->port_ctx, port);
}

inline void port_out(Z80State* s, uint16_t port, uint8_t value, uint32_t charge = 4) {
  s->cycles += charge;
  s->write_port(s->port_ctx, port, value);
}

// The next byte of the instruction stream (an immediate or a displacement).
inline uint8_t next_byte(Z80State* s, uint32_t charge = 3) {
  const uint8_t v = read_byte(s, s->pc, charge);
  s->pc = static_cast<uint16_t>(s->pc + 1);
  return v;
}

// The next two bytes of the instruction stream, low byte first.
inline uint16_t next_word(Z80State* s) {
  const uint8_t low = next_byte(s);
  const uint8_t high = next_byte(s);
  return static_cast<uint16_t>(low | (high << 8));
}

// The address of an indexed operand: the displacement d is read at `pc`
// (with `charge` T-states before it) and added, sign-extended, to the index.
inline uint16_t indexed_address(Z80State* s, uint16_t index, uint32_t charge) {
  const auto d = static_cast<int8_t>(next_byte(s, charge));
  return static_cast<uint16_t>(index + d);
}

// Stack: a push lowers `sp` by 2 and writes the low byte first.
inline void push_word(Z80State* s, uint16_t value, uint32_t first_charge) {
  s->sp = static_cast<uint16_t>(s->sp - 2);
  write_byte(s, s->sp, static_cast<uint8_t>(value), first_charge);
  write_byte(s, static_cast<uint16_t>(s->sp + 1), static_cast<uint8_t>(value >> 8));
}

inline uint16_t pop_word(Z80State* s) {
  const uint8_t low = read_byte(s, s->sp);
  const uint8_t high = read_byte(s, static_cast<uint16_t>(s->sp + 1));
  s->sp = static_cast<uint16_t>(s->sp + 2);
  return static_cast<uint16_t>(low | (high << 8));
}

// Refresh register: the low seven bits count opcode fetches, bit 7 stays.
inline void r_step(Z80State* s, int delta) {
  s->r = static_cast<uint8_t>((s->r & 0x80) | ((s->r + delta) & 0x7F));
}
