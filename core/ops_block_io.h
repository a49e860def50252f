// Block transfer, search and I/O: LDI LDD LDIR LDDR, CPI CPD CPIR CPDR,
// IN and OUT in every form, INI IND INIR INDR, OUTI OUTD OTIR OTDR.
//
// A repeating instruction performs one step per execution and, while it
// must go on, moves `pc` back onto its ED prefix (5 more T-states), so an
// interrupt can be accepted between two steps. Its flags are those of a
// single step.
// Flags: LDI: Y X from bits 1 and 3 of A + byte, P/V = (BC != 0), H = N = 0.
// CPI: S Z H N from the compare, C kept, P/V = (BC != 0), Y X from bits 1
// and 3 of (A - byte - H). IN r,(C) and IN F,(C): S Z Y X P/V from the
// byte, H = N = 0, C kept. Block I/O: S Z Y X from the new B, N from bit 7
// of the byte, H = C = carry of byte + k, P/V the parity of that sum's low
// three bits XOR B.
// T-states (fetch | handler's charges, each before its access):
//   IN A,(n) 4 | 3, read n | 4, port in (A*256+n)        OUT (n),A likewise
//   IN r,(C) 4 4 | 4, port in (BC)                         OUT (C),r likewise
//   LDI 4 4 | 5, read (HL) | 3, write (DE) | 5 if repeating
//   CPI 4 4 | 5 | 3, read (HL) | 5 if repeating
//   INI 4 4 | 5, port in (BC) | 3, write (HL) | 5 if repeating
//   OUTI 4 4 | 4, read (HL) | 4, port out (BC, B decremented) | 5 if repeating
#pragma once

#include "core/alu.h"
#include "core/bus.h"
#include "core/registers.h"

inline void in_a_n(Z80State* s) {
  const uint8_t n = next_byte(s);
  s->a = port_in(s, static_cast<uint16_t>((s->a << 8) | n));
}

inline void out_n_a(Z80State* s) {
  const uint8_t n = next_byte(s);
  port_out(s, static_cast<uint16_t>((s->a << 8) | n), s->a);
}

// IN r,(C); with None (IN F,(C)) only the flags take the byte.
template <Reg8 R>
void in_r_c(Z80State* s) {
  const uint8_t v = port_in(s, get16<Reg16::BC>(s));
  set8<R>(s, v);
  s->f = static_cast<uint8_t>((s->f & FLAG_C) | flags_szyxp(v));
}

template <Reg8 R>
void out_c_r(Z80State* s) {
  port_out(s, get16<Reg16::BC>(s), get8<R>(s));
}

inline void out_c_0(Z80State* s) {
  port_out(s, get16<Reg16::BC>(s), 0);
}

// Moves `pc` back onto the ED prefix so the instruction runs again.
inline void repeat_instruction(Z80State* s) {
  s->cycles += 5;
  s->pc = static_cast<uint16_t>(s->pc - 2);
}

template <int Step, bool Repeat>
void block_load(Z80State* s) {
  const uint16_t hl = get16<Reg16::HL>(s);
  const uint16_t de = get16<Reg16::DE>(s);
  const uint8_t v = read_byte(s, hl, 5);
  write_byte(s, de, v);
  set16<Reg16::HL>(s, static_cast<uint16_t>(hl + Step));
  set16<Reg16::DE>(s, static_cast<uint16_t>(de + Step));
  const auto bc = static_cast<uint16_t>(get16<Reg16::BC>(s) - 1);
  set16<Reg16::BC>(s, bc);
  const auto n = static_cast<uint8_t>(s->a + v);
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_C)) | (n & FLAG_X) |
                              ((n << 4) & FLAG_Y) | (bc != 0 ? FLAG_PV : 0));
  if (Repeat && bc != 0) repeat_instruction(s);
}

template <int Step, bool Repeat>
void block_compare(Z80State* s) {
  const uint8_t carry = s->f & FLAG_C;
  s->cycles += 5;
  uint8_t n = alu_cp_hl(s);
  if (s->f & FLAG_H) n = static_cast<uint8_t>(n - 1);
  set16<Reg16::HL>(s, static_cast<uint16_t>(get16<Reg16::HL>(s) + Step));
  const auto bc = static_cast<uint16_t>(get16<Reg16::BC>(s) - 1);
  set16<Reg16::BC>(s, bc);
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_H | FLAG_N)) | carry |
                              (n & FLAG_X) | ((n << 4) & FLAG_Y) | (bc != 0 ? FLAG_PV : 0));
  if (Repeat && bc != 0 && !(s->f & FLAG_Z)) repeat_instruction(s);
}

// Flags of a block I/O step, after B has been decremented through
// alu_inc_dec (which left S Z Y X of the new B).
inline void block_io_flags(Z80State* s, uint8_t v, uint32_t k) {
  const auto low = static_cast<uint8_t>((k & 7) ^ s->b);
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_Y | FLAG_X)) |
                              ((v >> 6) & FLAG_N) | (k > 0xFF ? (FLAG_H | FLAG_C) : 0) |
                              (parity_table[low] ? FLAG_PV : 0));
}

template <int Step, bool Repeat>
void block_in(Z80State* s) {
  const uint8_t v = port_in(s, get16<Reg16::BC>(s), 5);
  const uint16_t hl = get16<Reg16::HL>(s);
  write_byte(s, hl, v);
  set16<Reg16::HL>(s, static_cast<uint16_t>(hl + Step));
  s->b = alu_inc_dec(s, s->b, 1);
  block_io_flags(s, v, v + static_cast<uint8_t>(s->c + Step));
  if (Repeat && s->b != 0) repeat_instruction(s);
}

template <int Step, bool Repeat>
void block_out(Z80State* s) {
  const uint16_t hl = get16<Reg16::HL>(s);
  const uint8_t v = read_byte(s, hl, 4);
  s->b = alu_inc_dec(s, s->b, 1);
  port_out(s, get16<Reg16::BC>(s), v);
  set16<Reg16::HL>(s, static_cast<uint16_t>(hl + Step));
  block_io_flags(s, v, v + s->l);
  if (Repeat && s->b != 0) repeat_instruction(s);
}
