// Block transfer, search and I/O: one step per execution, flags, port
// numbers and the T-state count each port callback sees.
#include "tests/core/core_fixture.h"

namespace {

using BlockIoTest = CoreTest;

TEST_F(BlockIoTest, LdirRepeatsOneStepPerExecution) {
  load({0xED, 0xB0});
  set_bc(3);
  set_hl(0x4000);
  set_de(0x5000);
  mem[0x4002] = 0x77;
  EXPECT_EQ(step(), 21u);
  EXPECT_EQ(s.pc, kOrigin);
  EXPECT_EQ(step(), 21u);
  EXPECT_EQ(step(), 16u);
  EXPECT_EQ(s.pc, kOrigin + 2);
  EXPECT_EQ(mem[0x5002], 0x77);
  EXPECT_EQ(hl(), 0x4003);
  EXPECT_EQ(de(), 0x5003);
  EXPECT_EQ(s.f & FLAG_PV, 0);
  EXPECT_EQ(s.r, 6);
}

TEST_F(BlockIoTest, LdiTakesYXFromBitsOneAndThreeOfSum) {
  load({0xED, 0xA0, 0xED, 0xA0});
  set_bc(2);
  set_hl(0x4000);
  mem[0x4000] = 0x0A;
  mem[0x4001] = 0x20;
  s.f = FLAG_S | FLAG_C;
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X | FLAG_PV | FLAG_C);
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_C);
}


TEST_F(BlockIoTest, BlockCompareTakesYFromBitOneAndKeepsCarry) {
  load({0xED, 0xA1, 0xED, 0xA9, 0xED, 0xA1});  // CPI ; CPD ; CPI
  set_bc(9);
  set_hl(0x4000);
  s.a = 0x10;
  mem[0x4000] = 0x01;  // difference 0Fh with H: n = 0Eh
  mem[0x4001] = 0x01;
  s.f = FLAG_C;
  step();
  EXPECT_EQ(s.f, FLAG_Y | FLAG_H | FLAG_X | FLAG_PV | FLAG_N | FLAG_C);
  set_hl(0x4001);
  step();
  EXPECT_EQ(s.f & (FLAG_Y | FLAG_X), FLAG_Y | FLAG_X);
  set_hl(0x4000);
  s.a = 0x12;
  mem[0x4000] = 0x10;  // difference 02h, no H: Y from bit 1
  step();
  EXPECT_EQ(s.f & FLAG_Y, FLAG_Y);
}

TEST_F(BlockIoTest, InputFromImmediatePortUsesAAsHighByte) {
  load({0xDB, 0xFE});
  s.a = 0x7F;
  s.f = 0x00;
  port_value = 0x00;
  EXPECT_EQ(step(), 11u);
  EXPECT_EQ(events_of('i'), (std::vector<BusEvent>{{'i', 0x7FFE, 0x00, 11}}));
  EXPECT_EQ(s.f, 0x00);
}


TEST_F(BlockIoTest, InputToFlagsOnlySetsFlagsLikeInputToRegister) {
  load({0xED, 0x70, 0xED, 0x70});
  s.a = 0x33;
  port_value = 0x12;
  s.f = 0;
  step();
  EXPECT_EQ(s.f, FLAG_PV);
  EXPECT_EQ(s.a, 0x33);
  port_value = 0xFF;
  s.f = FLAG_C;
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X | FLAG_PV | FLAG_C);
}

TEST_F(BlockIoTest, OutputOfZeroWritesZeroToPortBc) {
  load({0xED, 0x71});
  set_bc(0x1234);
  s.a = 0x56;
  EXPECT_EQ(step(), 12u);
  EXPECT_EQ(events_of('o'), (std::vector<BusEvent>{{'o', 0x1234, 0x00, 12}}));
}

TEST_F(BlockIoTest, OutiUsesDecrementedBAndReachesPortAtSixteen) {
  load({0xED, 0xB3});  // OTIR with B = 1: one step
  set_bc(0x0110);
  set_hl(0x4000);
  mem[0x4000] = 0x99;
  EXPECT_EQ(step(), 16u);
  EXPECT_EQ(events_of('o'), (std::vector<BusEvent>{{'o', 0x0010, 0x99, 16}}));
  EXPECT_EQ(s.f & (FLAG_Z | FLAG_N), FLAG_Z | FLAG_N);
  EXPECT_EQ(s.pc, kOrigin + 2);
}

TEST_F(BlockIoTest, IniUsesBBeforeDecrementAndCarriesFromC) {
  load({0xED, 0xA2, 0xED, 0xAA});  // INI ; IND
  set_bc(0x01FF);
  set_hl(0x4000);
  port_value = 0x01;
  EXPECT_EQ(step(), 16u);
  EXPECT_EQ(events_of('i')[0], (BusEvent{'i', 0x01FF, 0x01, 13}));
  EXPECT_EQ(mem[0x4000], 0x01);
  EXPECT_EQ(s.f & (FLAG_Z | FLAG_H | FLAG_C), FLAG_Z);
  set_bc(0x0200);
  step();
  EXPECT_EQ(s.f & (FLAG_H | FLAG_C), FLAG_H | FLAG_C);
}

TEST_F(BlockIoTest, InterruptBetweenLdirStepsReturnsToPrefix) {
  load({0xED, 0xB0});
  set_bc(4);
  set_hl(0x4000);
  set_de(0x5000);
  s.iff1 = s.iff2 = 1;
  s.im = 1;
  z80_run(&s, 1);
  z80_request_int(&s, 0);
  z80_run(&s, 1);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(mem[0xEFFE] | mem[0xEFFF] << 8, kOrigin);
}

}  // namespace
