// Register access by name, fixed at compile time. Every handler names its
// registers through these templates, so no handler looks at opcode bits.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/z80.h"

// 8-bit registers. B to A carry the values of their three-bit opcode field;
// None (field value 6, the memory operand) stands for "no register".
enum class Reg8 : uint8_t { B, C, D, E, H, L, None, A, IXh, IXl, IYh, IYl };

// 16-bit registers. AF is only pushed and popped.
enum class Reg16 : uint8_t { BC, DE, HL, SP, AF, IX, IY };

template <Reg8 R>
inline uint8_t get8(const Z80State* s) {
  if constexpr (R == Reg8::B) return s->b;
  else if constexpr (R == Reg8::C) return s->c;
  else if constexpr (R == Reg8::D) return s->d;
  else if constexpr (R == Reg8::E) return s->e;
  else if constexpr (R == Reg8::H) return s->h;
  else if constexpr (R == Reg8::L) return s->l;
  else if constexpr (R == Reg8::A) return s->a;
  else if constexpr (R == Reg8::IXh) return static_cast<uint8_t>(s->ix >> 8);
  else if constexpr (R == Reg8::IXl) return static_cast<uint8_t>(s->ix);
  else if constexpr (R == Reg8::IYh) return static_cast<uint8_t>(s->iy >> 8);
  else {
    static_assert(R == Reg8::IYl);
    return static_cast<uint8_t>(s->iy);
  }
}

template <Reg8 R>
inline void set8(Z80State* s, uint8_t v) {
  if constexpr (R == Reg8::B) s->b = v;
  else if constexpr (R == Reg8::C) s->c = v;
  else if constexpr (R == Reg8::D) s->d = v;
  else if constexpr (R == Reg8::E) s->e = v;
  else if constexpr (R == Reg8::H) s->h = v;
  else if constexpr (R == Reg8::L) s->l = v;
  else if constexpr (R == Reg8::A) s->a = v;
  else if constexpr (R == Reg8::IXh) s->ix = static_cast<uint16_t>((s->ix & 0x00FF) | (v << 8));
  else if constexpr (R == Reg8::IXl) s->ix = static_cast<uint16_t>((s->ix & 0xFF00) | v);
  else if constexpr (R == Reg8::IYh) s->iy = static_cast<uint16_t>((s->iy & 0x00FF) | (v << 8));
  else if constexpr (R == Reg8::IYl) s->iy = static_cast<uint16_t>((s->iy & 0xFF00) | v);
  else static_assert(R == Reg8::None);  // the memory-only forms store nowhere
}

// A pair held as two bytes, low byte first, read or written as one word.
inline uint16_t load_pair(const uint8_t* low) {
  if constexpr (std::endian::native == std::endian::little) {
    uint16_t v;
    std::memcpy(&v, low, 2);
    return v;
  } else {
    return static_cast<uint16_t>(low[0] | (low[1] << 8));
  }
}

inline void store_pair(uint8_t* low, uint16_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(low, &v, 2);
  } else {
    low[0] = static_cast<uint8_t>(v);
    low[1] = static_cast<uint8_t>(v >> 8);
  }
}

// The low byte of a pair held in two registers (const or not, as the record).
template <Reg16 R, class State>
inline auto* pair_low(State* s) {
  if constexpr (R == Reg16::BC) return &s->c;
  else if constexpr (R == Reg16::DE) return &s->e;
  else if constexpr (R == Reg16::HL) return &s->l;
  else {
    static_assert(R == Reg16::AF);
    return &s->f;
  }
}

template <Reg16 R>
inline uint16_t get16(const Z80State* s) {
  if constexpr (R == Reg16::SP) return s->sp;
  else if constexpr (R == Reg16::IX) return s->ix;
  else if constexpr (R == Reg16::IY) return s->iy;
  else return load_pair(pair_low<R>(s));
}

template <Reg16 R>
inline void set16(Z80State* s, uint16_t v) {
  if constexpr (R == Reg16::SP) s->sp = v;
  else if constexpr (R == Reg16::IX) s->ix = v;
  else if constexpr (R == Reg16::IY) s->iy = v;
  else store_pair(pair_low<R>(s), v);
}

// The halves of an index register.
template <Reg16 X>
inline constexpr Reg8 index_high = X == Reg16::IX ? Reg8::IXh : Reg8::IYh;
template <Reg16 X>
inline constexpr Reg8 index_low = X == Reg16::IX ? Reg8::IXl : Reg8::IYl;
