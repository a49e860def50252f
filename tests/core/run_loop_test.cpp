// The run loop: T-state budget, interrupt acceptance in every mode, the NMI,
// HALT, the EI/DI delay, and reset.
#include "tests/core/core_fixture.h"

namespace {

class RunLoopTest : public CoreTest {
 protected:
  void enable_mode(uint8_t mode) {
    s.iff1 = s.iff2 = 1;
    s.im = mode;
  }
};

TEST_F(RunLoopTest, RunOfZeroExecutesNothing) {
  load({0x3C});  // INC A
  EXPECT_EQ(z80_run(&s, 0), 0u);
  EXPECT_EQ(s.a, 0);
  EXPECT_EQ(s.cycles, 0u);
}

TEST_F(RunLoopTest, RunEndsOnInstructionBoundaryAndRestartsCount) {
  load({0x00, 0x00, 0x21, 0x00, 0x00, 0x00});  // NOP NOP LD HL,0 NOP
  EXPECT_EQ(z80_run(&s, 9), 18u);               // 4 + 4 + 10
  EXPECT_EQ(z80_run(&s, 1), 4u);                // counts from 0 again
}

TEST_F(RunLoopTest, ModeOneAcceptancePushesPcAndJumpsTo38) {
  enable_mode(1);
  s.sp = 0x8000;
  s.pc = 0x1234;
  z80_request_int(&s, 0);
  EXPECT_EQ(z80_run(&s, 1), 13u);
  EXPECT_EQ(mem[0x7FFE], 0x34);
  EXPECT_EQ(mem[0x7FFF], 0x12);
  EXPECT_EQ(s.sp, 0x7FFE);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.iff2, 0);
  EXPECT_EQ(s.int_pending, 0);
}

TEST_F(RunLoopTest, ModeTwoTakesVectorFromITable) {
  enable_mode(2);
  s.i = 0x12;
  mem[0x1200] = 0x78;
  mem[0x1201] = 0x56;
  z80_request_int(&s, 0x00);
  EXPECT_EQ(z80_run(&s, 1), 19u);
  EXPECT_EQ(s.pc, 0x5678);
}

TEST_F(RunLoopTest, ModeZeroWithNopCostsSixAndKeepsPc) {
  enable_mode(0);
  load({0x3C});
  z80_request_int(&s, 0x00);
  EXPECT_EQ(z80_run(&s, 1), 6u);
  EXPECT_EQ(s.pc, kOrigin);
  EXPECT_EQ(s.sp, 0xF000);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.a, 0);
}

TEST_F(RunLoopTest, ModeZeroRestartPushesCurrentPc) {
  enable_mode(0);
  load(0x4000, {0x00});
  z80_request_int(&s, 0xFF);  // RST 38H on the bus
  EXPECT_EQ(z80_run(&s, 1), 13u);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(mem[0xEFFE], 0x00);
  EXPECT_EQ(mem[0xEFFF], 0x40);
}

TEST_F(RunLoopTest, EiHoldsInterruptUntilAfterNextInstruction) {
  s.im = 1;
  load({0xFB, 0x00, 0x00});  // EI NOP NOP
  z80_request_int(&s, 0);
  EXPECT_EQ(z80_run(&s, 8), 8u);  // EI and NOP, no acceptance in between
  z80_run(&s, 1);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(mem[0xEFFE] | mem[0xEFFF] << 8, kOrigin + 2);
}


TEST_F(RunLoopTest, NmiIgnoresIff1AndDelay) {
  load({0xFB});  // EI
  z80_run(&s, 1);
  s.iff1 = 0;
  s.nmi_pending = 1;
  EXPECT_EQ(z80_run(&s, 1), 11u);
  EXPECT_EQ(s.pc, 0x0066);
  EXPECT_EQ(s.iff2, 0);
  EXPECT_EQ(s.nmi_pending, 0);
  EXPECT_EQ(s.int_delay, 1);
}

TEST_F(RunLoopTest, HaltRepeatsUntilInterruptThenReturnsPastIt) {
  s.im = 1;
  load({0xFB, 0x76});  // EI HALT
  EXPECT_EQ(z80_run(&s, 16), 16u);
  EXPECT_EQ(s.pc, kOrigin + 1);
  EXPECT_EQ(s.halted, 1);
  EXPECT_EQ(s.r, 4);
  z80_request_int(&s, 0);
  z80_run(&s, 1);
  EXPECT_EQ(s.halted, 0);
  EXPECT_EQ(mem[0xEFFE] | mem[0xEFFF] << 8, kOrigin + 2);
}


TEST_F(RunLoopTest, UnknownModeOnlyConsumesRequest) {
  enable_mode(3);
  s.halted = 1;
  s.pc = 0x1000;
  z80_request_int(&s, 0);
  z80_run(&s, 1);  // consumes the request, then executes one instruction
  EXPECT_EQ(s.int_pending, 0);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.sp, 0xF000);
  EXPECT_EQ(s.pc, 0x1002);  // past the HALT, then one NOP
}


}  // namespace
