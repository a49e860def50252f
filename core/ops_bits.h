// Rotates, shifts and bit operations: RLCA RRCA RLA RRA, RLD RRD, and the
// CB, DD CB and FD CB tables (RLC RRC RL RR SLA SRA SLL SRL, BIT, RES, SET).
//
// Flags: rotates and shifts of the CB tables as alu.h; the accumulator
// rotates keep S Z P/V and take Y X from A; RLD and RRD set S Z Y X P/V
// from the new A, H = N = 0; BIT as bit_flags (Y X from the register, the
// byte at (HL), or the high byte of IX+d); RES and SET change no flag.
// T-states (fetch | handler's charges, each before its access):
//   RLCA 4 | -           RLD RRD 4 4 | 7, read (HL) | 3, write (HL)
//   RLC r 4 4 | -        RLC (HL) 4 4 | 4, read | 3, write   BIT n,(HL) 4 4 | 4, read
//   RLC (IX+d) 4 4 4 | 5, read d | 3, read | 3, write
//   BIT n,(IX+d) 4 4 4 | 5, read d | 3, read
//     (the decoder fetches DD, CB and op, skipping d; the handler reads d)
#pragma once

#include "core/alu.h"
#include "core/bus.h"
#include "core/registers.h"

// The eight rotate and shift operations, and RES and SET, as value maps.
struct Rlc {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_rlc(s, v); }
};
struct Rrc {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_rrc(s, v); }
};
struct Rl {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_rl(s, v); }
};
struct Rr {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_rr(s, v); }
};
struct Sla {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_shift_left(s, v, 1); }
};
struct Sra {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_shift_right(s, v, 1); }
};
struct Sll {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_shift_left(s, v, 0); }
};
struct Srl {
  static uint8_t apply(Z80State* s, uint8_t v) { return alu_shift_right(s, v, 0); }
};
template <int Bit>
struct Res {
  static uint8_t apply(Z80State*, uint8_t v) { return static_cast<uint8_t>(v & ~(1u << Bit)); }
};
template <int Bit>
struct Set {
  static uint8_t apply(Z80State*, uint8_t v) { return static_cast<uint8_t>(v | (1u << Bit)); }
};

template <class Op, Reg8 R>
void modify_r(Z80State* s) {
  set8<R>(s, Op::apply(s, get8<R>(s)));
}

template <class Op>
void modify_hl(Z80State* s) {
  const uint16_t address = get16<Reg16::HL>(s);
  const uint8_t v = read_byte(s, address, 4);
  write_byte(s, address, Op::apply(s, v));
}

// The indexed form writes the result back to memory and, in the copy forms,
// also into register Copy (None for the plain form).
template <class Op, Reg16 X, Reg8 Copy>
void modify_indexed(Z80State* s) {
  const uint16_t address = indexed_address(s, get16<X>(s), 5);
  const uint8_t r = Op::apply(s, read_byte(s, address));
  set8<Copy>(s, r);
  write_byte(s, address, r);
}

template <int Bit, Reg8 R>
void bit_r(Z80State* s) {
  const uint8_t v = get8<R>(s);
  bit_flags(s, Bit, v, v);
}

template <int Bit>
void bit_hl(Z80State* s) {
  const uint8_t v = read_byte(s, get16<Reg16::HL>(s), 4);
  bit_flags(s, Bit, v, v);
}

template <int Bit, Reg16 X>
void bit_indexed(Z80State* s) {
  alu_bit_mem(s, Bit, indexed_address(s, get16<X>(s), 5));
}

// Accumulator rotates: S Z P/V kept, H = N = 0, Y X from the new A.
inline void rotate_a(Z80State* s, uint32_t r, uint32_t carry) {
  s->a = static_cast<uint8_t>(r);
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_PV)) |
                              (s->a & (FLAG_Y | FLAG_X)) | carry);
}

inline void rlca(Z80State* s) {
  rotate_a(s, (s->a << 1) | (s->a >> 7), s->a >> 7);
}

inline void rrca(Z80State* s) {
  rotate_a(s, (s->a >> 1) | (s->a << 7), s->a & 1);
}

inline void rla(Z80State* s) {
  rotate_a(s, (s->a << 1) | (s->f & FLAG_C), s->a >> 7);
}

inline void rra(Z80State* s) {
  rotate_a(s, (s->a >> 1) | ((s->f & FLAG_C) << 7), s->a & 1);
}

// RLD and RRD rotate a nibble through A and the byte at HL.
template <bool Left>
void rotate_digit(Z80State* s) {
  const uint16_t address = get16<Reg16::HL>(s);
  const uint8_t m = read_byte(s, address, 7);
  const uint8_t a = s->a;
  uint8_t m_new;
  if constexpr (Left) {
    m_new = static_cast<uint8_t>((m << 4) | (a & 0x0F));
    s->a = static_cast<uint8_t>((a & 0xF0) | (m >> 4));
  } else {
    m_new = static_cast<uint8_t>((a << 4) | (m >> 4));
    s->a = static_cast<uint8_t>((a & 0xF0) | (m & 0x0F));
  }
  s->f = static_cast<uint8_t>((s->f & FLAG_C) | flags_szyxp(s->a));
  write_byte(s, address, m_new);
}
