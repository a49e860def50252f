// The run loop: T-state budget, interrupt acceptance in every mode and the
// NMI (timing of each access, r unchanged; also with plain memory, where the
// mode 2 vector is read without the callback), HALT, the EI/DI delay.
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
  bool nmi;
  uint8_t im, iff1, data;  // the mode, IFF1 before (IFF2 is 1), the byte on the bus
  uint32_t t_states;
  uint16_t pc;
  const char* trace;
  uint8_t r;  // opcode fetches
};

class AcceptanceTest : public CoreTest, public ::testing::WithParamInterface<std::tuple<Acceptance, bool>> {};

TEST_P(AcceptanceTest, PushesPcAndJumpsWithTiming) {
  const auto& [c, plain] = GetParam();
  if (plain) s.plain_memory = mem.data();
  load({0x00}, 0x1234);
  s.iff1 = c.iff1;
  s.iff2 = 1;
  s.im = c.im;
  s.i = 0x12;
  mem[0x12FF] = 0x78;
  mem[0x1300] = 0x56;
  s.r = 0x7F;
  // An NMI is served even in the delay after EI, and leaves the delay as it is.
  if (c.nmi) {
    s.nmi_pending = s.int_delay = 1;
  } else {
    z80_request_int(&s, c.data);
  }
  EXPECT_EQ(z80_run(&s, 1), c.t_states);
  EXPECT_EQ(trace, plain ? without_reads(c.trace) : c.trace);
  EXPECT_EQ(s.pc, c.pc);
  EXPECT_EQ(s.sp, 0xEFFE);
  EXPECT_EQ(pushed(), 0x1234);
  EXPECT_EQ(s.iff1, 0);
  EXPECT_EQ(s.iff2, c.nmi ? c.iff1 : 0);  // an NMI keeps IFF1 in IFF2
  EXPECT_EQ(s.int_pending | s.nmi_pending, 0);
  EXPECT_EQ(s.int_delay, c.nmi ? 1 : 0);
  EXPECT_EQ(s.r, (0x7F + c.r) & 0x7F);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AcceptanceTest,
    ::testing::Combine(::testing::Values(
        Acceptance{"Nmi", true, 1, 1, 0, 11, 0x0066, "wEFFE:3=34 wEFFF:6=12", 0},
        Acceptance{"NmiWhileIff1Clear", true, 1, 0, 0, 11, 0x0066, "wEFFE:3=34 wEFFF:6=12", 0},
        Acceptance{"ModeOne", false, 1, 1, 0, 13, 0x0038, "wEFFE:3=34 wEFFF:6=12", 0},
        Acceptance{"ModeTwoVectorFromIAndWholeByte", false, 2, 1, 0xFF, 19, 0x5678,
                   "wEFFE:3=34 wEFFF:6=12 r12FF:9 r1300:12", 0},
        Acceptance{"ModeZeroRestartFromBus", false, 0, 1, 0xFF, 13, 0x0038, "wEFFE:10=34 wEFFF:13=12", 1}),
        ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_plain" : "");
    });

// An interrupt requested after the first instruction comes in at once
// between two steps of LDIR, and returns to its prefix; after EI, and after an
// index prefix that stands alone before another prefix, only once the next
// instruction has run.
TEST_F(RunLoopTest, InterruptRequestedAfterFirstInstructionReturnsWhereHeldOff) {
  const std::vector<std::pair<std::vector<uint8_t>, int>> cases{
      {{0xED, 0xB0}, kOrigin}, {{0xFB, 0x00}, kOrigin + 2}, {{0xDD, 0xDD, 0x21, 0x34, 0x12}, kOrigin + 5}};
  for (const auto& [code, resume] : cases) {
    load(code);
    s.iff1 = s.iff2 = 1;
    s.im = 1;
    z80_run(&s, 1);
    z80_request_int(&s, 0);
    for (int n = 0; n < 2 && s.pc != 0x0038; ++n) z80_run(&s, 1);
    EXPECT_EQ(s.pc, 0x0038);
    EXPECT_EQ(pushed(), resume);
  }
}

// HALT runs again and again, r counting each time, until an interrupt leaves
// it with pc past the HALT. Here the mode is one that does not exist: the
// request is only consumed, nothing is pushed, and the next instruction runs.
TEST_F(RunLoopTest, HaltRepeatsUntilInterruptAndUnknownModeOnlyConsumesRequest) {
  s.im = 3;
  load({0xFB, 0x76, 0x00, 0x00});  // EI HALT NOP NOP
  EXPECT_EQ(z80_run(&s, 16), 16u);
  EXPECT_EQ(s.pc, kOrigin + 1);
  EXPECT_EQ(s.halted, 1);
  EXPECT_EQ(s.r, 4);
  z80_request_int(&s, 0);
  z80_run(&s, 1);
  EXPECT_EQ(s.halted, 0);
  EXPECT_EQ(s.int_pending | s.iff1, 0);
  EXPECT_EQ(s.sp, 0xF000);
  EXPECT_EQ(s.pc, kOrigin + 3);
}

}  // namespace
