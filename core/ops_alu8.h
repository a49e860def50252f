// 8-bit arithmetic and logic: ADD ADC SUB SBC AND XOR OR CP, INC, DEC, DAA,
// CPL, NEG, SCF, CCF.
//
// Encoding: main 80-BF (op in bits 5-3, operand in bits 2-0), C6..FE with n,
// 04/05 + 8k INC/DEC; DD/FD forms with IXh, IXl, (IX+d); ED 44 (x8) NEG.
// Flags: as each helper in alu.h says; CP takes Y and X from the operand.
// T-states (fetch | handler's charges, each before its access):
//   op A,r 4 | -            op A,IXh 4 4 | -
//   op A,n 4 | 3, read n    op A,(HL) 4 | 3, read (HL)
//   op A,(IX+d) 4 4 | 8, read d | 3, read (IX+d)
//   INC r 4 | -             INC (HL) 4 | 4, read | 3, write
//   INC (IX+d) 4 4 | 9, read d | 3, read | 3, write
//   NEG 4 4 | -             DAA CPL SCF CCF 4 | -
#pragma once

#include "core/alu.h"
#include "core/bus.h"
#include "core/registers.h"

// Where the second operand of an accumulator operation comes from.
template <Reg8 R>
struct RegisterOperand {
  static uint8_t read(Z80State* s) { return get8<R>(s); }
};

struct ImmediateOperand {
  static uint8_t read(Z80State* s) { return next_byte(s); }
};

struct HlOperand {
  static uint8_t read(Z80State* s) { return read_byte(s, get16<Reg16::HL>(s)); }
};

template <Reg16 X>
struct IndexedOperand {
  static uint8_t read(Z80State* s) { return read_byte(s, indexed_address(s, get16<X>(s), 8)); }
};

enum class AluOp { Add, Adc, Sub, Sbc, And, Xor, Or, Cp };

template <AluOp Op, class Operand>
void alu_a(Z80State* s) {
  const uint8_t v = Operand::read(s);
  if constexpr (Op == AluOp::Add) s->a = alu_add_sub(s, v, 0, 0);
  else if constexpr (Op == AluOp::Adc) s->a = alu_add_sub(s, v, 1, 0);
  else if constexpr (Op == AluOp::Sub) s->a = alu_add_sub(s, v, 0, 1);
  else if constexpr (Op == AluOp::Sbc) s->a = alu_add_sub(s, v, 1, 1);
  else if constexpr (Op == AluOp::And) {
    s->a &= v;
    alu_logic_flags(s, 1);
  } else if constexpr (Op == AluOp::Xor) {
    s->a ^= v;
    alu_logic_flags(s, 0);
  } else if constexpr (Op == AluOp::Or) {
    s->a |= v;
    alu_logic_flags(s, 0);
  } else {
    static_assert(Op == AluOp::Cp);
    alu_compare(s, v);
  }
}

// INC r / DEC r, index halves included.
template <Reg8 R, uint8_t Decrement>
void inc_dec_r(Z80State* s) {
  set8<R>(s, alu_inc_dec(s, get8<R>(s), Decrement));
}

template <uint8_t Decrement>
void inc_dec_hl(Z80State* s) {
  const uint16_t address = get16<Reg16::HL>(s);
  const uint8_t v = read_byte(s, address, 4);
  write_byte(s, address, alu_inc_dec(s, v, Decrement));
}

template <Reg16 X, uint8_t Decrement>
void inc_dec_indexed(Z80State* s) {
  const uint16_t address = indexed_address(s, get16<X>(s), 9);
  const uint8_t v = read_byte(s, address);
  write_byte(s, address, alu_inc_dec(s, v, Decrement));
}

inline void daa(Z80State* s) {
  const uint8_t a = s->a;
  uint8_t correction = 0;
  uint8_t carry = 0;
  if (a > 0x99 || (s->f & FLAG_C)) {
    correction = 0x60;
    carry = FLAG_C;
  }
  if ((a & 0x0F) > 9 || (s->f & FLAG_H)) correction |= 0x06;
  const auto r = static_cast<uint8_t>((s->f & FLAG_N) ? a - correction : a + correction);
  s->a = r;
  s->f = static_cast<uint8_t>(flags_szyxp(r) | ((a ^ r) & FLAG_H) | (s->f & FLAG_N) | carry);
}

inline void cpl(Z80State* s) {
  s->a = static_cast<uint8_t>(~s->a);
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_PV | FLAG_C)) | FLAG_H | FLAG_N |
                              (s->a & (FLAG_Y | FLAG_X)));
}

inline void neg(Z80State* s) {
  const uint8_t v = s->a;
  s->a = 0;
  s->a = alu_add_sub(s, v, 0, 1);
}

inline void scf(Z80State* s) {
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_PV)) | FLAG_C |
                              (s->a & (FLAG_Y | FLAG_X)));
}

// CCF: H receives the carry as it was before the complement.
inline void ccf(Z80State* s) {
  const uint8_t old_carry = s->f & FLAG_C;
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_PV)) | (old_carry ? FLAG_H : FLAG_C) |
                              (s->a & (FLAG_Y | FLAG_X)));
}
