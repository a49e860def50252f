// 16-bit arithmetic: which flags each form sets, from which bits.
#include "tests/core/core_fixture.h"

namespace {

using Alu16Test = CoreTest;

TEST_F(Alu16Test, AddSetsHalfFromBitElevenAndKeepsSZP) {
  load({0x09});  // ADD HL,BC
  set_hl(0x0FFF);
  set_bc(0x0001);
  s.f = FLAG_S | FLAG_Z | FLAG_PV | FLAG_N;
  EXPECT_EQ(step(), 11u);
  EXPECT_EQ(hl(), 0x1000);
  EXPECT_EQ(s.f, FLAG_S | FLAG_Z | FLAG_PV | FLAG_H);
}



TEST_F(Alu16Test, AdcOverflowIntoSign) {
  load({0xED, 0x5A});  // ADC HL,DE
  set_hl(0x7FFF);
  set_de(0x0000);
  s.f = FLAG_C;
  EXPECT_EQ(step(), 15u);
  EXPECT_EQ(hl(), 0x8000);
  EXPECT_EQ(s.f, FLAG_S | FLAG_H | FLAG_PV);
}


TEST_F(Alu16Test, SbcBorrowSetsEveryBitFromResult) {
  load({0xED, 0x42});  // SBC HL,BC
  set_hl(0x0000);
  set_bc(0x0000);
  s.f = FLAG_C;
  step();
  EXPECT_EQ(hl(), 0xFFFF);
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_H | FLAG_X | FLAG_N | FLAG_C);
}

TEST_F(Alu16Test, SbcSignedOverflow) {
  load({0xED, 0x52});  // SBC HL,DE
  set_hl(0x8000);
  set_de(0x0001);
  step();
  EXPECT_EQ(hl(), 0x7FFF);
  EXPECT_EQ(s.f, FLAG_Y | FLAG_H | FLAG_X | FLAG_PV | FLAG_N);
}


}  // namespace
