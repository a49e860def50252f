// Loads: 8-bit and 16-bit LD between registers, immediates and memory, the
// indexed forms, the index halves, and the transfers with I and R. NOP is
// the load of a register into itself.
//
// Flags: none, except LD A,I and LD A,R (S Z Y X from the value, H = N = 0,
// P/V = IFF2, C kept).
// T-states (fetch | handler's charges, each before its access):
//   LD r,r' 4 | -                 LD r,n 4 | 3, read n
//   LD r,(HL) 4 | 3, read         LD (HL),r 4 | 3, write
//   LD (HL),n 4 | 3, read n | 3, write
//   LD A,(BC) 4 | 3, read         LD (BC),A 4 | 3, write
//   LD A,(nn) 4 | 3, 3, read nn | 3, read      LD (nn),A likewise, write
//   LD rr,nn 4 | 3, 3             LD SP,HL 4 | 2
//   LD HL,(nn) 4 | 3, 3, read nn | 3, read low | 3, read high (ED forms 4 4)
//   LD (nn),HL 4 | 3, 3, read nn | 3, write low | 3, write high
//   LD A,I LD A,R LD I,A LD R,A 4 4 | 1
//   LD r,(IX+d) 4 4 | 8, read d | 3, read      LD (IX+d),r 4 4 | 8, read d | 3, write
//   LD (IX+d),n 4 4 | 5, read d | 3, read n | 3, write
//   LD IXh,n 4 4 | 3, read n      LD r,IXh 4 4 | -
#pragma once

#include "core/alu.h"
#include "core/bus.h"
#include "core/registers.h"

inline void nop(Z80State*) {}

template <Reg8 Dst, Reg8 Src>
void ld_r_r(Z80State* s) {
  set8<Dst>(s, get8<Src>(s));
}

template <Reg8 Dst>
void ld_r_n(Z80State* s) {
  set8<Dst>(s, next_byte(s));
}

template <Reg8 Dst, Reg16 Address>
void ld_r_mem(Z80State* s) {
  set8<Dst>(s, read_byte(s, get16<Address>(s)));
}

template <Reg16 Address, Reg8 Src>
void ld_mem_r(Z80State* s) {
  write_byte(s, get16<Address>(s), get8<Src>(s));
}

inline void ld_hl_n(Z80State* s) {
  const uint8_t v = next_byte(s);
  write_byte(s, get16<Reg16::HL>(s), v);
}

inline void ld_a_nn(Z80State* s) {
  const uint16_t address = next_word(s);
  s->a = read_byte(s, address);
}

inline void ld_nn_a(Z80State* s) {
  const uint16_t address = next_word(s);
  write_byte(s, address, s->a);
}

template <Reg16 Dst>
void ld_rr_nn(Z80State* s) {
  set16<Dst>(s, next_word(s));
}

template <Reg16 Dst>
void ld_rr_indirect(Z80State* s) {
  const uint16_t address = next_word(s);
  const uint8_t low = read_byte(s, address);
  const uint8_t high = read_byte(s, static_cast<uint16_t>(address + 1));
  set16<Dst>(s, static_cast<uint16_t>(low | (high << 8)));
}

template <Reg16 Src>
void ld_indirect_rr(Z80State* s) {
  const uint16_t address = next_word(s);
  const uint16_t v = get16<Src>(s);
  write_byte(s, address, static_cast<uint8_t>(v));
  write_byte(s, static_cast<uint16_t>(address + 1), static_cast<uint8_t>(v >> 8));
}

template <Reg16 Src>
void ld_sp_rr(Z80State* s) {
  s->cycles += 2;
  s->sp = get16<Src>(s);
}

// LD A,I and LD A,R; for R the value already counts this instruction's fetches.
template <uint8_t Z80State::*Src>
void ld_a_special(Z80State* s) {
  s->cycles += 1;
  const uint8_t v = s->*Src;
  s->a = v;
  s->f = static_cast<uint8_t>((s->f & FLAG_C) | (v & (FLAG_S | FLAG_Y | FLAG_X)) |
                              (v == 0 ? FLAG_Z : 0) | (s->iff2 ? FLAG_PV : 0));
}

// LD I,A and LD R,A; all eight bits, bit 7 of R included.
template <uint8_t Z80State::*Dst>
void ld_special_a(Z80State* s) {
  s->cycles += 1;
  s->*Dst = s->a;
}

template <Reg8 Dst, Reg16 X>
void ld_r_indexed(Z80State* s) {
  const uint16_t address = indexed_address(s, get16<X>(s), 8);
  set8<Dst>(s, read_byte(s, address));
}

template <Reg16 X, Reg8 Src>
void ld_indexed_r(Z80State* s) {
  const uint16_t address = indexed_address(s, get16<X>(s), 8);
  write_byte(s, address, get8<Src>(s));
}

template <Reg16 X>
void ld_indexed_n(Z80State* s) {
  const uint16_t address = indexed_address(s, get16<X>(s), 5);
  const uint8_t v = next_byte(s);
  write_byte(s, address, v);
}
