// Rotates, shifts and bit operations in register, (HL) and indexed forms.
#include "tests/core/core_fixture.h"

namespace {

using BitsTest = CoreTest;


TEST_F(BitsTest, BitOfRegisterTakesYXFromRegister) {
  load({0xCB, 0x7F, 0xCB, 0x7F});  // BIT 7,A
  s.a = 0x80;
  s.f = FLAG_C;
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_H | FLAG_C);
  s.a = 0x7F;
  s.f = 0;
  step();
  EXPECT_EQ(s.f, FLAG_Z | FLAG_Y | FLAG_H | FLAG_X | FLAG_PV);
}

TEST_F(BitsTest, BitOfHlTakesYXFromByte) {
  load({0xCB, 0x6E});  // BIT 5,(HL)
  set_hl(0x2800);
  mem[0x2800] = 0x20;
  EXPECT_EQ(step(), 12u);
  EXPECT_EQ(s.f, FLAG_Y | FLAG_H);
}

TEST_F(BitsTest, IndexedBitTakesYXFromAddressHighByte) {
  load({0xDD, 0xCB, 0x00, 0x46, 0xFD, 0xCB, 0x05, 0x7E});  // BIT 0,(IX+0) ; BIT 7,(IY+5)
  s.ix = 0x2800;
  s.iy = 0x2800;
  mem[0x2805] = 0x80;
  EXPECT_EQ(step(), 20u);
  EXPECT_EQ(s.f, FLAG_Z | FLAG_Y | FLAG_H | FLAG_X | FLAG_PV);
  EXPECT_TRUE(events_of('w').empty());
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_H | FLAG_X);
}

TEST_F(BitsTest, IndexedCopyFormLoadsRealRegisterAndMemory) {
  load({0xDD, 0xCB, 0x03, 0x00, 0xDD, 0xCB, 0x00, 0x04});  // LD B,RLC (IX+3) ; LD H,RLC (IX+0)
  s.ix = 0x5000;
  mem[0x5003] = 0x80;
  mem[0x5000] = 0x40;
  EXPECT_EQ(step(), 23u);
  EXPECT_EQ(mem[0x5003], 0x01);
  EXPECT_EQ(s.b, 0x01);
  EXPECT_EQ(s.f & FLAG_C, FLAG_C);
  EXPECT_EQ(s.pc, kOrigin + 4);
  step();
  EXPECT_EQ(s.h, 0x80);
  EXPECT_EQ(s.ix, 0x5000);
}



TEST_F(BitsTest, DigitRotatesBothTakeYXFromNewA) {
  load({0xED, 0x6F, 0xED, 0x67});  // RLD ; RRD
  set_hl(0x4000);
  s.a = 0x12;
  mem[0x4000] = 0x34;
  s.f = FLAG_Y | FLAG_X | FLAG_C;
  EXPECT_EQ(step(), 18u);
  EXPECT_EQ(s.a, 0x13);
  EXPECT_EQ(mem[0x4000], 0x42);
  EXPECT_EQ(s.f, FLAG_C);
  s.a = 0x12;
  mem[0x4000] = 0x34;
  s.f = FLAG_Y | FLAG_X;
  EXPECT_EQ(step(), 18u);
  EXPECT_EQ(s.a, 0x14);
  EXPECT_EQ(mem[0x4000], 0x23);
  EXPECT_EQ(s.f, FLAG_PV);  // Y and X from 0x14, not kept
}

}  // namespace
