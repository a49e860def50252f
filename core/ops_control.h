// Control flow: JP, JR, DJNZ, CALL, RET, RETI/RETN, RST, HALT, DI, EI, IM.
//
// Flags: none.
// T-states (fetch | handler's charges, each before its access):
//   JP nn, JP cc,nn 4 | 3, read low | 3, read high (both read, taken or not)
//   JP (HL) 4 | -                    JP (IX) 4 4 | -
//   JR e 4 | 3, read e | 5           JR cc,e 4 | 3, read e | 5 only if taken
//   DJNZ e 4 | 4, read e | 5 only if B != 0 after the decrement
//   CALL nn 4 | 3, 3, read nn | 4, write low at SP-2 | 3, write high at SP-1
//   CALL cc,nn 4 | 3, 3 | (4, 3 only if taken)
//   RET 4 | 3, read (SP) | 3, read (SP+1)    RET cc 4 | 1 | (3, 3 only if taken)
//   RETN/RETI 4 4 | 3, 3                     RST p 4 | 4, write low | 3, write high
//   HALT DI EI 4 | -                          IM n 4 4 | -
#pragma once

#include "core/bus.h"
#include "core/registers.h"

enum class Cond { NZ, Z, NC, C, PO, PE, P, M };

template <Cond C>
inline bool holds(const Z80State* s) {
  if constexpr (C == Cond::NZ) return !(s->f & FLAG_Z);
  else if constexpr (C == Cond::Z) return s->f & FLAG_Z;
  else if constexpr (C == Cond::NC) return !(s->f & FLAG_C);
  else if constexpr (C == Cond::C) return s->f & FLAG_C;
  else if constexpr (C == Cond::PO) return !(s->f & FLAG_PV);
  else if constexpr (C == Cond::PE) return s->f & FLAG_PV;
  else if constexpr (C == Cond::P) return !(s->f & FLAG_S);
  else return s->f & FLAG_S;
}

inline void jp(Z80State* s) {
  s->pc = next_word(s);
}

template <Cond C>
void jp_cc(Z80State* s) {
  const uint16_t target = next_word(s);
  if (holds<C>(s)) s->pc = target;
}

template <Reg16 R>
void jp_rr(Z80State* s) {
  s->pc = get16<R>(s);
}

inline void jump_relative(Z80State* s, uint8_t displacement) {
  s->cycles += 5;
  s->pc = static_cast<uint16_t>(s->pc + static_cast<int8_t>(displacement));
}

inline void jr(Z80State* s) {
  jump_relative(s, next_byte(s));
}

template <Cond C>
void jr_cc(Z80State* s) {
  const uint8_t displacement = next_byte(s);
  if (holds<C>(s)) jump_relative(s, displacement);
}

inline void djnz(Z80State* s) {
  const uint8_t displacement = next_byte(s, 4);
  s->b = static_cast<uint8_t>(s->b - 1);
  if (s->b != 0) jump_relative(s, displacement);
}

inline void call(Z80State* s) {
  const uint16_t target = next_word(s);
  push_word(s, s->pc, 4);
  s->pc = target;
}

template <Cond C>
void call_cc(Z80State* s) {
  const uint16_t target = next_word(s);
  if (holds<C>(s)) {
    push_word(s, s->pc, 4);
    s->pc = target;
  }
}

inline void ret(Z80State* s) {
  s->pc = pop_word(s);
}

template <Cond C>
void ret_cc(Z80State* s) {
  s->cycles += 1;
  if (holds<C>(s)) s->pc = pop_word(s);
}

// RETN and RETI: IFF1 gets back the copy kept in IFF2.
inline void retn(Z80State* s) {
  s->iff1 = s->iff2;
  s->pc = pop_word(s);
}

template <uint16_t Target>
void rst(Z80State* s) {
  push_word(s, s->pc, 4);
  s->pc = Target;
}

// HALT parks `pc` on its own opcode; the run loop executes it again and
// again until an interrupt is accepted.
inline void halt(Z80State* s) {
  s->pc = static_cast<uint16_t>(s->pc - 1);
  s->halted = 1;
}

// DI and EI hold off maskable interrupts until after the next instruction.
template <uint8_t Enable>
void set_interrupts(Z80State* s) {
  s->iff1 = Enable;
  s->iff2 = Enable;
  s->int_delay = 1;
}

template <uint8_t Mode>
void im(Z80State* s) {
  s->im = Mode;
}
