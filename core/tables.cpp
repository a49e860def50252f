// The seven dispatch tables, filled at compile time. Each row names the
// handler instantiation that executes it and the text the disassembler
// prints; opcodes are in hex on every line.
#include <tuple>

#include "core/ops_alu16.h"
#include "core/ops_alu8.h"
#include "core/ops_bits.h"
#include "core/ops_block_io.h"
#include "core/ops_control.h"
#include "core/ops_exchange.h"
#include "core/ops_load.h"
#include "core/table_builder.h"

using namespace table_builder;

namespace {

using R8 = Reg8;
using R16 = Reg16;

template <int Y>
using Rotation = std::tuple_element_t<Y, std::tuple<Rlc, Rrc, Rl, Rr, Sla, Sra, Sll, Srl>>;

template <int Y>
constexpr AluOp alu_op = static_cast<AluOp>(Y);

// --- CB: rotate/shift, BIT, RES, SET on B C D E H L (HL) A ---------------

constexpr Mnemonics kCbText = spell_all([](int op, Speller& out) {
  const int y = (op >> 3) & 7;
  const char* operand = kRegNames[op & 7];
  switch (op >> 6) {
    case 0: out << kRotationNames[y] << " " << operand; break;
    case 1: out << "BIT " << y << "," << operand; break;
    case 2: out << "RES " << y << "," << operand; break;
    default: out << "SET " << y << "," << operand; break;
  }
});

template <class Op, Reg8 Z>
constexpr OpcodeHandler modify_handler() {
  if constexpr (Z == R8::None) return &modify_hl<Op>;
  else return &modify_r<Op, Z>;
}

template <int Bit, Reg8 Z>
constexpr OpcodeHandler bit_handler() {
  if constexpr (Z == R8::None) return &bit_hl<Bit>;
  else return &bit_r<Bit, Z>;
}

constexpr TableBuilder cb_table() {
  TableBuilder t;
  // 00-3F  RLC RRC RL RR SLA SRA SLL SRL r
  fill<0x00, 64>(t, kCbText, []<int Op>() { return modify_handler<Rotation<(Op >> 3)>, reg_field(Op)>(); });
  // 40-7F  BIT b,r
  fill<0x40, 64>(t, kCbText, []<int Op>() { return bit_handler<(Op >> 3) & 7, reg_field(Op)>(); });
  // 80-BF  RES b,r
  fill<0x80, 64>(t, kCbText, []<int Op>() { return modify_handler<Res<(Op >> 3) & 7>, reg_field(Op)>(); });
  // C0-FF  SET b,r
  fill<0xC0, 64>(t, kCbText, []<int Op>() { return modify_handler<Set<(Op >> 3) & 7>, reg_field(Op)>(); });
  return t;
}

// --- DD CB d op / FD CB d op: the same on (IX+d); the rows with a register
// field other than 6 also copy the result into that register (BIT ignores it).

template <Reg16 X>
constexpr Mnemonics index_cb_text = spell_all([](int op, Speller& out) {
  const int y = (op >> 3) & 7;
  const int z = op & 7;
  const char* operand = X == R16::IX ? "(IX+0%02Xh)" : "(IY+0%02Xh)";
  if (op >> 6 == 1) {
    out << "BIT " << y << "," << operand;
    return;
  }
  if (z != 6) out << "LD " << kRegNames[z] << ",";
  switch (op >> 6) {
    case 0: out << kRotationNames[y] << " " << operand; break;
    case 2: out << "RES " << y << "," << operand; break;
    default: out << "SET " << y << "," << operand; break;
  }
});

template <Reg16 X>
constexpr TableBuilder index_cb_table() {
  TableBuilder t;
  t.table.skip = 1;  // the displacement stands between CB and the opcode
  const Mnemonics& text = index_cb_text<X>;
  // 00-3F  RLC RRC RL RR SLA SRA SLL SRL (IX+d), and LD r,<op> (IX+d)
  fill<0x00, 64>(t, text, []<int Op>() { return &modify_indexed<Rotation<(Op >> 3)>, X, reg_field(Op)>; });
  // 40-7F  BIT b,(IX+d), eight rows each
  fill<0x40, 64>(t, text, []<int Op>() { return &bit_indexed<(Op >> 3) & 7, X>; });
  // 80-BF  RES b,(IX+d), and LD r,RES b,(IX+d)
  fill<0x80, 64>(t, text, []<int Op>() { return &modify_indexed<Res<(Op >> 3) & 7>, X, reg_field(Op)>; });
  // C0-FF  SET b,(IX+d), and LD r,SET b,(IX+d)
  fill<0xC0, 64>(t, text, []<int Op>() { return &modify_indexed<Set<(Op >> 3) & 7>, X, reg_field(Op)>; });
  return t;
}

constexpr TableBuilder kCb = cb_table();
constexpr TableBuilder kDdcb = index_cb_table<R16::IX>();
constexpr TableBuilder kFdcb = index_cb_table<R16::IY>();

}  // namespace

constexpr OpcodeTable z80_cb_table = kCb.table;
constexpr OpcodeTable z80_ddcb_table = kDdcb.table;
constexpr OpcodeTable z80_fdcb_table = kFdcb.table;

namespace {

// --- ED ------------------------------------------------------------------

constexpr TableBuilder ed_table() {
  TableBuilder t;
  t.put(0x40, in_r_c<R8::B>, "IN B,(C)");
  t.put(0x41, out_c_r<R8::B>, "OUT (C),B");
  t.put(0x42, adc_sbc_hl<R16::BC, true>, "SBC HL,BC");
  t.put(0x43, ld_indirect_rr<R16::BC>, "LD (0%04Xh),BC");
  t.put(0x44, neg, "NEG");
  t.put(0x45, retn, "RETN");
  t.put(0x46, im<0>, "IM 0");
  t.put(0x47, ld_special_a<&Z80State::i>, "LD I,A");
  t.put(0x48, in_r_c<R8::C>, "IN C,(C)");
  t.put(0x49, out_c_r<R8::C>, "OUT (C),C");
  t.put(0x4A, adc_sbc_hl<R16::BC, false>, "ADC HL,BC");
  t.put(0x4B, ld_rr_indirect<R16::BC>, "LD BC,(0%04Xh)");
  t.put(0x4C, neg, "NEG");
  t.put(0x4D, retn, "RETI");
  t.put(0x4E, im<0>, "IM 0");
  t.put(0x4F, ld_special_a<&Z80State::r>, "LD R,A");
  t.put(0x50, in_r_c<R8::D>, "IN D,(C)");
  t.put(0x51, out_c_r<R8::D>, "OUT (C),D");
  t.put(0x52, adc_sbc_hl<R16::DE, true>, "SBC HL,DE");
  t.put(0x53, ld_indirect_rr<R16::DE>, "LD (0%04Xh),DE");
  t.put(0x54, neg, "NEG");
  t.put(0x55, retn, "RETN");
  t.put(0x56, im<1>, "IM 1");
  t.put(0x57, ld_a_special<&Z80State::i>, "LD A,I");
  t.put(0x58, in_r_c<R8::E>, "IN E,(C)");
  t.put(0x59, out_c_r<R8::E>, "OUT (C),E");
  t.put(0x5A, adc_sbc_hl<R16::DE, false>, "ADC HL,DE");
  t.put(0x5B, ld_rr_indirect<R16::DE>, "LD DE,(0%04Xh)");
  t.put(0x5C, neg, "NEG");
  t.put(0x5D, retn, "RETN");
  t.put(0x5E, im<2>, "IM 2");
  t.put(0x5F, ld_a_special<&Z80State::r>, "LD A,R");
  t.put(0x60, in_r_c<R8::H>, "IN H,(C)");
  t.put(0x61, out_c_r<R8::H>, "OUT (C),H");
  t.put(0x62, adc_sbc_hl<R16::HL, true>, "SBC HL,HL");
  t.put(0x63, ld_indirect_rr<R16::HL>, "LD (0%04Xh),HL");
  t.put(0x64, neg, "NEG");
  t.put(0x65, retn, "RETN");
  t.put(0x66, im<0>, "IM 0");
  t.put(0x67, rotate_digit<false>, "RRD");
  t.put(0x68, in_r_c<R8::L>, "IN L,(C)");
  t.put(0x69, out_c_r<R8::L>, "OUT (C),L");
  t.put(0x6A, adc_sbc_hl<R16::HL, false>, "ADC HL,HL");
  t.put(0x6B, ld_rr_indirect<R16::HL>, "LD HL,(0%04Xh)");
  t.put(0x6C, neg, "NEG");
  t.put(0x6D, retn, "RETN");
  t.put(0x6E, im<0>, "IM 0");
  t.put(0x6F, rotate_digit<true>, "RLD");
  t.put(0x70, in_r_c<R8::None>, "IN F,(C)");
  t.put(0x71, out_c_0, "OUT (C),0");
  t.put(0x72, adc_sbc_hl<R16::SP, true>, "SBC HL,SP");
  t.put(0x73, ld_indirect_rr<R16::SP>, "LD (0%04Xh),SP");
  t.put(0x74, neg, "NEG");
  t.put(0x75, retn, "RETN");
  t.put(0x76, im<1>, "IM 1");
  t.put(0x78, in_r_c<R8::A>, "IN A,(C)");
  t.put(0x79, out_c_r<R8::A>, "OUT (C),A");
  t.put(0x7A, adc_sbc_hl<R16::SP, false>, "ADC HL,SP");
  t.put(0x7B, ld_rr_indirect<R16::SP>, "LD SP,(0%04Xh)");
  t.put(0x7C, neg, "NEG");
  t.put(0x7D, retn, "RETN");
  t.put(0x7E, im<2>, "IM 2");
  t.put(0xA0, block_load<1, false>, "LDI");
  t.put(0xA1, block_compare<1, false>, "CPI");
  t.put(0xA2, block_in<1, false>, "INI");
  t.put(0xA3, block_out<1, false>, "OUTI");
  t.put(0xA8, block_load<-1, false>, "LDD");
  t.put(0xA9, block_compare<-1, false>, "CPD");
  t.put(0xAA, block_in<-1, false>, "IND");
  t.put(0xAB, block_out<-1, false>, "OUTD");
  t.put(0xB0, block_load<1, true>, "LDIR");
  t.put(0xB1, block_compare<1, true>, "CPIR");
  t.put(0xB2, block_in<1, true>, "INIR");
  t.put(0xB3, block_out<1, true>, "OTIR");
  t.put(0xB8, block_load<-1, true>, "LDDR");
  t.put(0xB9, block_compare<-1, true>, "CPDR");
  t.put(0xBA, block_in<-1, true>, "INDR");
  t.put(0xBB, block_out<-1, true>, "OTDR");
  return t;
}

// --- DD / FD: the index register forms, written for IX ------------------

// 40-BF: H and L stand for the halves of the index register, and (HL) for
// (IX+d), whose partner register is then the real H or L. A row naming
// none of them is empty.
constexpr Mnemonics kIndexText = spell_all([](int op, Speller& out) {
  if (op < 0x40 || op >= 0xC0 || op == 0x76) return;
  constexpr const char* kIndexNames[8] = {"B", "C", "D", "E", "IXh", "IXl", "(IX+0%02Xh)", "A"};
  const int y = (op >> 3) & 7;
  const int z = op & 7;
  if (op >= 0x80) {
    out << kAluNames[y] << kIndexNames[z];
    return;
  }
  const bool memory = y == 6 || z == 6;
  auto name = [&](int field) { return memory && field != 6 ? kRegNames[field] : kIndexNames[field]; };
  out << "LD " << name(y) << "," << name(z);
});

template <Reg16 X, Reg8 R>
constexpr Reg8 as_index_half = R == R8::H ? index_high<X> : R == R8::L ? index_low<X> : R;

constexpr bool names_hl(Reg8 r) {
  return r == R8::H || r == R8::L || r == R8::None;
}

// Written once, with IX in the texts; the FD table is this one built for IY,
// its texts respelled with IY.
template <Reg16 X>
constexpr TableBuilder index_table(const OpcodeTable* index_cb) {
  constexpr R8 XH = index_high<X>;
  constexpr R8 XL = index_low<X>;
  TableBuilder t;
  t.put(0x09, add16<X, R16::BC>, "ADD IX,BC");
  t.put(0x19, add16<X, R16::DE>, "ADD IX,DE");
  t.put(0x21, ld_rr_nn<X>, "LD IX,0%04Xh");
  t.put(0x22, ld_indirect_rr<X>, "LD (0%04Xh),IX");
  t.put(0x23, inc_dec16<X, 1>, "INC IX");
  t.put(0x24, inc_dec_r<XH, 0>, "INC IXh");
  t.put(0x25, inc_dec_r<XH, 1>, "DEC IXh");
  t.put(0x26, ld_r_n<XH>, "LD IXh,0%02Xh");
  t.put(0x29, add16<X, X>, "ADD IX,IX");
  t.put(0x2A, ld_rr_indirect<X>, "LD IX,(0%04Xh)");
  t.put(0x2B, inc_dec16<X, -1>, "DEC IX");
  t.put(0x2C, inc_dec_r<XL, 0>, "INC IXl");
  t.put(0x2D, inc_dec_r<XL, 1>, "DEC IXl");
  t.put(0x2E, ld_r_n<XL>, "LD IXl,0%02Xh");
  t.put(0x34, inc_dec_indexed<X, 0>, "INC (IX+0%02Xh)");
  t.put(0x35, inc_dec_indexed<X, 1>, "DEC (IX+0%02Xh)");
  t.put(0x36, ld_indexed_n<X>, "LD (IX+0%02Xh),0%02Xh");
  t.put(0x39, add16<X, R16::SP>, "ADD IX,SP");
  // 40-7F  LD r,r' where r or r' is IXh, IXl or (IX+d); 64 and 6D load a half into itself
  fill<0x40, 64>(t, kIndexText, []<int Op>() {
    constexpr R8 dst = reg_field(Op >> 3);
    constexpr R8 src = reg_field(Op);
    if constexpr (!names_hl(dst) && !names_hl(src)) return NoRow{};
    else if constexpr (Op == 0x76) return NoRow{};
    else if constexpr (src == R8::None) return &ld_r_indexed<dst, X>;
    else if constexpr (dst == R8::None) return &ld_indexed_r<X, src>;
    else if constexpr (dst == src) return &nop;
    else return &ld_r_r<as_index_half<X, dst>, as_index_half<X, src>>;
  });
  // 80-BF  ADD ADC SUB SBC AND XOR OR CP with IXh, IXl, (IX+d)
  fill<0x80, 64>(t, kIndexText, []<int Op>() {
    constexpr R8 src = reg_field(Op);
    if constexpr (!names_hl(src)) return NoRow{};
    else if constexpr (src == R8::None) return &alu_a<alu_op<(Op >> 3) & 7>, IndexedOperand<X>>;
    else return &alu_a<alu_op<(Op >> 3) & 7>, RegisterOperand<as_index_half<X, src>>>;
  });
  t.prefix(0xCB, index_cb);
  t.put(0xE1, pop<X>, "POP IX");
  t.put(0xE3, ex_sp_indirect<X>, "EX (SP),IX");
  t.put(0xE5, push<X>, "PUSH IX");
  t.put(0xE9, jp_rr<X>, "JP (IX)");
  t.put(0xF9, ld_sp_rr<X>, "LD SP,IX");
  return t;
}

constexpr Mnemonics kFdText = with_iy(index_table<R16::IY>(&z80_fdcb_table));

constexpr TableBuilder kEd = ed_table();
constexpr TableBuilder kDd = index_table<R16::IX>(&z80_ddcb_table);
constexpr TableBuilder kFd = respelled(index_table<R16::IY>(&z80_fdcb_table), kFdText);

}  // namespace

constexpr OpcodeTable z80_ed_table = kEd.table;
constexpr OpcodeTable z80_dd_table = kDd.table;
constexpr OpcodeTable z80_fd_table = kFd.table;

namespace {

// --- Main ----------------------------------------------------------------

constexpr Mnemonics kMainText = spell_all([](int op, Speller& out) {
  if (op == 0x76) out << "HALT";
  else if (op >= 0x40 && op < 0x80) out << "LD " << kRegNames[(op >> 3) & 7] << "," << kRegNames[op & 7];
  else if (op >= 0x80 && op < 0xC0) out << kAluNames[(op >> 3) & 7] << kRegNames[op & 7];
});

template <Reg8 Z>
using AccumulatorOperand = std::conditional_t<Z == R8::None, HlOperand, RegisterOperand<Z>>;

constexpr TableBuilder main_table() {
  TableBuilder t;
  t.put(0x00, nop, "NOP");
  t.put(0x01, ld_rr_nn<R16::BC>, "LD BC,0%04Xh");
  t.put(0x02, ld_mem_r<R16::BC, R8::A>, "LD (BC),A");
  t.put(0x03, inc_dec16<R16::BC, 1>, "INC BC");
  t.put(0x04, inc_dec_r<R8::B, 0>, "INC B");
  t.put(0x05, inc_dec_r<R8::B, 1>, "DEC B");
  t.put(0x06, ld_r_n<R8::B>, "LD B,0%02Xh");
  t.put(0x07, rlca, "RLCA");
  t.put(0x08, ex_af_af, "EX AF,AF'");
  t.put(0x09, add16<R16::HL, R16::BC>, "ADD HL,BC");
  t.put(0x0A, ld_r_mem<R8::A, R16::BC>, "LD A,(BC)");
  t.put(0x0B, inc_dec16<R16::BC, -1>, "DEC BC");
  t.put(0x0C, inc_dec_r<R8::C, 0>, "INC C");
  t.put(0x0D, inc_dec_r<R8::C, 1>, "DEC C");
  t.put(0x0E, ld_r_n<R8::C>, "LD C,0%02Xh");
  t.put(0x0F, rrca, "RRCA");
  t.put(0x10, djnz, "DJNZ (PC+%d)");
  t.put(0x11, ld_rr_nn<R16::DE>, "LD DE,0%04Xh");
  t.put(0x12, ld_mem_r<R16::DE, R8::A>, "LD (DE),A");
  t.put(0x13, inc_dec16<R16::DE, 1>, "INC DE");
  t.put(0x14, inc_dec_r<R8::D, 0>, "INC D");
  t.put(0x15, inc_dec_r<R8::D, 1>, "DEC D");
  t.put(0x16, ld_r_n<R8::D>, "LD D,0%02Xh");
  t.put(0x17, rla, "RLA");
  t.put(0x18, jr, "JR (PC+%d)");
  t.put(0x19, add16<R16::HL, R16::DE>, "ADD HL,DE");
  t.put(0x1A, ld_r_mem<R8::A, R16::DE>, "LD A,(DE)");
  t.put(0x1B, inc_dec16<R16::DE, -1>, "DEC DE");
  t.put(0x1C, inc_dec_r<R8::E, 0>, "INC E");
  t.put(0x1D, inc_dec_r<R8::E, 1>, "DEC E");
  t.put(0x1E, ld_r_n<R8::E>, "LD E,0%02Xh");
  t.put(0x1F, rra, "RRA");
  t.put(0x20, jr_cc<Cond::NZ>, "JR NZ,(PC+%d)");
  t.put(0x21, ld_rr_nn<R16::HL>, "LD HL,0%04Xh");
  t.put(0x22, ld_indirect_rr<R16::HL>, "LD (0%04Xh),HL");
  t.put(0x23, inc_dec16<R16::HL, 1>, "INC HL");
  t.put(0x24, inc_dec_r<R8::H, 0>, "INC H");
  t.put(0x25, inc_dec_r<R8::H, 1>, "DEC H");
  t.put(0x26, ld_r_n<R8::H>, "LD H,0%02Xh");
  t.put(0x27, daa, "DAA");
  t.put(0x28, jr_cc<Cond::Z>, "JR Z,(PC+%d)");
  t.put(0x29, add16<R16::HL, R16::HL>, "ADD HL,HL");
  t.put(0x2A, ld_rr_indirect<R16::HL>, "LD HL,(0%04Xh)");
  t.put(0x2B, inc_dec16<R16::HL, -1>, "DEC HL");
  t.put(0x2C, inc_dec_r<R8::L, 0>, "INC L");
  t.put(0x2D, inc_dec_r<R8::L, 1>, "DEC L");
  t.put(0x2E, ld_r_n<R8::L>, "LD L,0%02Xh");
  t.put(0x2F, cpl, "CPL");
  t.put(0x30, jr_cc<Cond::NC>, "JR NC,(PC+%d)");
  t.put(0x31, ld_rr_nn<R16::SP>, "LD SP,0%04Xh");
  t.put(0x32, ld_nn_a, "LD (0%04Xh),A");
  t.put(0x33, inc_dec16<R16::SP, 1>, "INC SP");
  t.put(0x34, inc_dec_hl<0>, "INC (HL)");
  t.put(0x35, inc_dec_hl<1>, "DEC (HL)");
  t.put(0x36, ld_hl_n, "LD (HL),0%02Xh");
  t.put(0x37, scf, "SCF");
  t.put(0x38, jr_cc<Cond::C>, "JR C,(PC+%d)");
  t.put(0x39, add16<R16::HL, R16::SP>, "ADD HL,SP");
  t.put(0x3A, ld_a_nn, "LD A,(0%04Xh)");
  t.put(0x3B, inc_dec16<R16::SP, -1>, "DEC SP");
  t.put(0x3C, inc_dec_r<R8::A, 0>, "INC A");
  t.put(0x3D, inc_dec_r<R8::A, 1>, "DEC A");
  t.put(0x3E, ld_r_n<R8::A>, "LD A,0%02Xh");
  t.put(0x3F, ccf, "CCF");
  // 40-7F  LD r,r' (r = B C D E H L (HL) A); 76 HALT; a register into itself is NOP
  fill<0x40, 64>(t, kMainText, []<int Op>() {
    constexpr R8 dst = reg_field(Op >> 3);
    constexpr R8 src = reg_field(Op);
    if constexpr (Op == 0x76) return &halt;
    else if constexpr (dst == src) return &nop;
    else if constexpr (dst == R8::None) return &ld_mem_r<R16::HL, src>;
    else if constexpr (src == R8::None) return &ld_r_mem<dst, R16::HL>;
    else return &ld_r_r<dst, src>;
  });
  // 80-BF  ADD ADC SUB SBC AND XOR OR CP with r
  fill<0x80, 64>(t, kMainText, []<int Op>() {
    return &alu_a<alu_op<(Op >> 3) & 7>, AccumulatorOperand<reg_field(Op)>>;
  });
  t.put(0xC0, ret_cc<Cond::NZ>, "RET NZ");
  t.put(0xC1, pop<R16::BC>, "POP BC");
  t.put(0xC2, jp_cc<Cond::NZ>, "JP NZ,(0%04Xh)");
  t.put(0xC3, jp, "JP (0%04Xh)");
  t.put(0xC4, call_cc<Cond::NZ>, "CALL NZ,(0%04Xh)");
  t.put(0xC5, push<R16::BC>, "PUSH BC");
  t.put(0xC6, alu_a<AluOp::Add, ImmediateOperand>, "ADD A,0%02Xh");
  t.put(0xC7, rst<0x00>, "RST 0H");
  t.put(0xC8, ret_cc<Cond::Z>, "RET Z");
  t.put(0xC9, ret, "RET");
  t.put(0xCA, jp_cc<Cond::Z>, "JP Z,(0%04Xh)");
  t.prefix(0xCB, &z80_cb_table);
  t.put(0xCC, call_cc<Cond::Z>, "CALL Z,(0%04Xh)");
  t.put(0xCD, call, "CALL (0%04Xh)");
  t.put(0xCE, alu_a<AluOp::Adc, ImmediateOperand>, "ADC A,0%02Xh");
  t.put(0xCF, rst<0x08>, "RST 8H");
  t.put(0xD0, ret_cc<Cond::NC>, "RET NC");
  t.put(0xD1, pop<R16::DE>, "POP DE");
  t.put(0xD2, jp_cc<Cond::NC>, "JP NC,(0%04Xh)");
  t.put(0xD3, out_n_a, "OUT (0%02Xh),A");
  t.put(0xD4, call_cc<Cond::NC>, "CALL NC,(0%04Xh)");
  t.put(0xD5, push<R16::DE>, "PUSH DE");
  t.put(0xD6, alu_a<AluOp::Sub, ImmediateOperand>, "SUB A,0%02Xh");
  t.put(0xD7, rst<0x10>, "RST 10H");
  t.put(0xD8, ret_cc<Cond::C>, "RET C");
  t.put(0xD9, exx, "EXX");
  t.put(0xDA, jp_cc<Cond::C>, "JP C,(0%04Xh)");
  t.put(0xDB, in_a_n, "IN A,(0%02Xh)");
  t.put(0xDC, call_cc<Cond::C>, "CALL C,(0%04Xh)");
  t.prefix(0xDD, &z80_dd_table);
  t.put(0xDE, alu_a<AluOp::Sbc, ImmediateOperand>, "SBC A,0%02Xh");
  t.put(0xDF, rst<0x18>, "RST 18H");
  t.put(0xE0, ret_cc<Cond::PO>, "RET PO");
  t.put(0xE1, pop<R16::HL>, "POP HL");
  t.put(0xE2, jp_cc<Cond::PO>, "JP PO,(0%04Xh)");
  t.put(0xE3, ex_sp_indirect<R16::HL>, "EX (SP),HL");
  t.put(0xE4, call_cc<Cond::PO>, "CALL PO,(0%04Xh)");
  t.put(0xE5, push<R16::HL>, "PUSH HL");
  t.put(0xE6, alu_a<AluOp::And, ImmediateOperand>, "AND 0%02Xh");
  t.put(0xE7, rst<0x20>, "RST 20H");
  t.put(0xE8, ret_cc<Cond::PE>, "RET PE");
  t.put(0xE9, jp_rr<R16::HL>, "JP (HL)");
  t.put(0xEA, jp_cc<Cond::PE>, "JP PE,(0%04Xh)");
  t.put(0xEB, swap16<R16::DE, R16::HL>, "EX DE,HL");
  t.put(0xEC, call_cc<Cond::PE>, "CALL PE,(0%04Xh)");
  t.prefix(0xED, &z80_ed_table);
  t.put(0xEE, alu_a<AluOp::Xor, ImmediateOperand>, "XOR 0%02Xh");
  t.put(0xEF, rst<0x28>, "RST 28H");
  t.put(0xF0, ret_cc<Cond::P>, "RET P");
  t.put(0xF1, pop<R16::AF>, "POP AF");
  t.put(0xF2, jp_cc<Cond::P>, "JP P,(0%04Xh)");
  t.put(0xF3, set_interrupts<0>, "DI");
  t.put(0xF4, call_cc<Cond::P>, "CALL P,(0%04Xh)");
  t.put(0xF5, push<R16::AF>, "PUSH AF");
  t.put(0xF6, alu_a<AluOp::Or, ImmediateOperand>, "OR 0%02Xh");
  t.put(0xF7, rst<0x30>, "RST 30H");
  t.put(0xF8, ret_cc<Cond::M>, "RET M");
  t.put(0xF9, ld_sp_rr<R16::HL>, "LD SP,HL");
  t.put(0xFA, jp_cc<Cond::M>, "JP M,(0%04Xh)");
  t.put(0xFB, set_interrupts<1>, "EI");
  t.put(0xFC, call_cc<Cond::M>, "CALL M,(0%04Xh)");
  t.prefix(0xFD, &z80_fd_table);
  t.put(0xFE, alu_a<AluOp::Cp, ImmediateOperand>, "CP 0%02Xh");
  t.put(0xFF, rst<0x38>, "RST 38H");
  return t;
}

constexpr TableBuilder kMain = main_table();

}  // namespace

constexpr OpcodeTable z80_main_table = kMain.table;

// A few rows pinned, and the shape of every table.
static_assert(z80_main_table.rows[0x76].handler == &halt);
static_assert(z80_main_table.rows[0x40].handler == &nop);
static_assert(z80_dd_table.rows[0xCB].sub_table == &z80_ddcb_table);
static_assert(z80_fd_table.rows[0xCB].sub_table == &z80_fdcb_table);
static_assert(z80_ed_table.rows[0x6B].handler == z80_main_table.rows[0x2A].handler);
static_assert(z80_ddcb_table.skip == 1 && z80_fdcb_table.skip == 1);
static_assert(kMain.handlers == 252);
static_assert(kCb.handlers == 256);
static_assert(kEd.handlers == 78);
static_assert(kDd.handlers == 85);
static_assert(kFd.handlers == 85);
static_assert(kDdcb.handlers == 256);
static_assert(kFdcb.handlers == 256);
