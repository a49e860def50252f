// Exchanges and the stack: EX AF,AF', EX DE,HL, EXX, EX (SP),HL/IX/IY,
// PUSH and POP of AF, BC, DE, HL, IX, IY.
//
// Flags: none, except POP AF, which loads F whole.
// T-states (fetch | handler's charges, each before its access):
//   EX AF,AF' EX DE,HL EXX 4 | -
//   EX (SP),HL 4 | 6, read (SP) | 3, read (SP+1) | 3, write (SP) | 3, write (SP+1)
//     (IX, IY: fetch 4 4)
//   PUSH rr 4 | 4, write low at SP-2 | 3, write high at SP-1   (IX, IY: 4 4)
//   POP rr 4 | 3, read (SP) | 3, read (SP+1)                     (IX, IY: 4 4)
#pragma once

#include <utility>

#include "core/bus.h"
#include "core/registers.h"

template <Reg16 A, Reg16 B>
void swap16(Z80State* s) {
  const uint16_t a = get16<A>(s);
  set16<A>(s, get16<B>(s));
  set16<B>(s, a);
}

inline void ex_af_af(Z80State* s) {
  std::swap(s->a, s->a_alt);
  std::swap(s->f, s->f_alt);
}

inline void exx(Z80State* s) {
  std::swap(s->b, s->b_alt);
  std::swap(s->c, s->c_alt);
  std::swap(s->d, s->d_alt);
  std::swap(s->e, s->e_alt);
  std::swap(s->h, s->h_alt);
  std::swap(s->l, s->l_alt);
}

template <Reg16 R>
void ex_sp_indirect(Z80State* s) {
  const uint16_t top = s->sp;
  const uint8_t low = read_byte(s, top, 6);
  const uint8_t high = read_byte(s, static_cast<uint16_t>(top + 1));
  const uint16_t v = get16<R>(s);
  write_byte(s, top, static_cast<uint8_t>(v));
  write_byte(s, static_cast<uint16_t>(top + 1), static_cast<uint8_t>(v >> 8));
  set16<R>(s, static_cast<uint16_t>(low | (high << 8)));
}

template <Reg16 R>
void push(Z80State* s) {
  push_word(s, get16<R>(s), 4);
}

template <Reg16 R>
void pop(Z80State* s) {
  set16<R>(s, pop_word(s));
}
