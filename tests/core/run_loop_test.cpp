// The run loop: T-state budget, interrupt acceptance in every mode and the
// NMI (timing of each access, r unchanged), HALT, the EI/DI delay.
#include "tests/core/core_fixture.h"

namespace {

using RunLoopTest = CoreTest;

TEST_F(RunLoopTest, RunEndsOnInstructionBoundaryAndRestartsCount) {
  load({0x3C, 0x00, 0x21, 0x00, 0x00, 0x00});  // INC A, NOP, LD HL,0, NOP
  EXPECT_EQ(z80_run(&s, 0), 0u);
  EXPECT_EQ(s.a, 0);
  EXPECT_EQ(z80_run(&s, 9), 18u);  // 4 + 4 + 10
  EXPECT_EQ(z80_run(&s, 1), 4u);   // counts from 0 again
}

struct Acceptance {
  const char* name;
  uint8_t im;
  bool nmi;
  uint8_t data;  // on the bus
  uint32_t t_states;
  uint16_t pc;
  const char* trace;
  uint8_t r;  // opcode fetches
};

class AcceptanceTest : public CoreTest, public ::testing::WithParamInterface<Acceptance> {};

TEST_P(AcceptanceTest, PushesPcAndJumpsWithTiming) {
  const Acceptance& c = GetParam();
  load({0x00}, 0x1234);
  s.iff1 = s.iff2 = 1;
  s.im = c.im;
  s.i = 0x12;
  mem[0x12FF] = 0x78;
  mem[0x1300] = 0x56;
  s.r = 0x7F;
  if (c.nmi) s.nmi_pending = 1; else z80_request_int(&s, c.data);
  s.cycles = 0;
  EXPECT_EQ(z80_run(&s, 1), c.t_states);
  EXPECT_EQ(trace, c.trace);
  EXPECT_EQ(s.pc, c.pc);
  EXPECT_EQ(s.sp, 0xEFFE);
  EXPECT_EQ(pushed(), 0x1234);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.iff2, c.nmi ? 1 : 0);
  EXPECT_EQ(s.int_pending | s.nmi_pending, 0);
  EXPECT_EQ(s.r, (0x7F + c.r) & 0x7F);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AcceptanceTest,
    ::testing::Values(
        Acceptance{"Nmi", 1, true, 0, 11, 0x0066, "wEFFE:3=34 wEFFF:6=12", 0},
        Acceptance{"ModeOne", 1, false, 0, 13, 0x0038, "wEFFE:3=34 wEFFF:6=12", 0},
        Acceptance{"ModeTwoVectorFromIAndWholeByte", 2, false, 0xFF, 19, 0x5678,
                   "wEFFE:3=34 wEFFF:6=12 r12FF:9 r1300:12", 0},
        Acceptance{"ModeZeroRestartFromBus", 0, false, 0xFF, 13, 0x0038,
                   "wEFFE:10=34 wEFFF:13=12", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunLoopTest, EiHoldsInterruptUntilAfterNextInstruction) {
  s.im = 1;
  load({0xFB, 0x00, 0x00});  // EI NOP NOP
  z80_request_int(&s, 0);
  EXPECT_EQ(z80_run(&s, 8), 8u);  // EI and NOP, no acceptance in between
  z80_run(&s, 1);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(pushed(), kOrigin + 2);
}

TEST_F(RunLoopTest, NmiIgnoresIff1AndDelay) {
  load({0xFB});  // EI
  z80_run(&s, 1);
  s.iff1 = 0;
  s.nmi_pending = 1;
  EXPECT_EQ(z80_run(&s, 1), 11u);
  EXPECT_EQ(s.pc, 0x0066);
  EXPECT_EQ(s.iff2, 0);
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
  EXPECT_EQ(pushed(), kOrigin + 2);
}

TEST_F(RunLoopTest, InterruptBetweenLdirStepsReturnsToPrefix) {
  load({0xED, 0xB0});
  s.c = 4, s.h = 0x40, s.d = 0x50;
  s.iff1 = s.iff2 = 1;
  s.im = 1;
  z80_run(&s, 1);
  z80_request_int(&s, 0);
  z80_run(&s, 1);
  EXPECT_EQ(s.pc, 0x0038);
  EXPECT_EQ(pushed(), kOrigin);
}

TEST_F(RunLoopTest, UnknownModeOnlyConsumesRequest) {
  s.iff1 = s.iff2 = 1;
  s.im = 3;
  s.halted = 1;
  load({0x00, 0x00}, 0x1000);
  z80_request_int(&s, 0);
  z80_run(&s, 1);  // consumes the request, then executes one instruction
  EXPECT_EQ(s.int_pending, 0);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.sp, 0xF000);
  EXPECT_EQ(s.pc, 0x1002);  // past the HALT, then one NOP
}

}  // namespace
