// 16-bit arithmetic: ADD HL/IX/IY,rr, ADC HL,rr, SBC HL,rr, INC rr, DEC rr.
//
// Flags: ADD keeps S Z P/V, H is the carry out of bit 11, C out of bit 15,
// N = 0, Y and X from bits 13 and 11 of the result. ADC and SBC set all
// eight: S Z from the 16-bit result, P/V the signed overflow. INC and DEC
// of a pair change no flag.
// T-states (fetch | handler's charges):
//   ADD HL,rr 4 | 7      ADD IX,rr 4 4 | 7      ADC/SBC HL,rr 4 4 | 7
//   INC rr 4 | 2         INC IX 4 4 | 2
#pragma once

#include "core/registers.h"

template <Reg16 Dst, Reg16 Src>
void add16(Z80State* s) {
  s->cycles += 7;
  const uint32_t d = get16<Dst>(s);
  const uint32_t v = get16<Src>(s);
  const uint32_t sum = d + v;
  s->f = static_cast<uint8_t>((s->f & (FLAG_S | FLAG_Z | FLAG_PV)) |
                              ((sum >> 8) & (FLAG_Y | FLAG_X)) | (((d ^ v ^ sum) >> 8) & FLAG_H) |
                              (sum >> 16));
  set16<Dst>(s, static_cast<uint16_t>(sum));
}

// ADC HL,rr (Subtract = 0) and SBC HL,rr (Subtract = 1).
template <Reg16 Src, bool Subtract>
void adc_sbc_hl(Z80State* s) {
  s->cycles += 7;
  const uint32_t hl = get16<Reg16::HL>(s);
  const uint32_t v = get16<Src>(s);
  const uint32_t carry = s->f & FLAG_C;
  const uint32_t wide = Subtract ? hl - v - carry : hl + v + carry;
  const auto r = static_cast<uint16_t>(wide);
  const uint32_t operand_sign = Subtract ? ~v : v;
  const uint32_t overflow = ((hl ^ r) & ~(hl ^ operand_sign) & 0x8000) >> 13;
  s->f = static_cast<uint8_t>(((r >> 8) & (FLAG_S | FLAG_Y | FLAG_X)) | (r == 0 ? FLAG_Z : 0) |
                              (((hl ^ v ^ wide) >> 8) & FLAG_H) | overflow |
                              ((wide >> 16) & FLAG_C) | (Subtract ? FLAG_N : 0));
  set16<Reg16::HL>(s, r);
}

template <Reg16 R, int Delta>
void inc_dec16(Z80State* s) {
  s->cycles += 2;
  set16<R>(s, static_cast<uint16_t>(get16<R>(s) + Delta));
}
