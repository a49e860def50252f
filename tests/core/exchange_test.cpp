// Exchanges and the stack: byte order, wrap, timing of each access.
#include "tests/core/core_fixture.h"

namespace {

using ExchangeTest = CoreTest;

TEST_F(ExchangeTest, PushWritesLowByteFirstAfterFourTStates) {
  load({0xC5});  // PUSH BC
  s.sp = 0x8000;
  set_bc(0x1234);
  EXPECT_EQ(step(), 11u);
  const std::vector<BusEvent> writes = {{'w', 0x7FFE, 0x34, 8}, {'w', 0x7FFF, 0x12, 11}};
  EXPECT_EQ(events_of('w'), writes);
  EXPECT_EQ(s.sp, 0x7FFE);
}


TEST_F(ExchangeTest, PopAfLoadsEveryFlagBit) {
  load({0xF1});
  mem[0xF000] = 0xFF;
  mem[0xF001] = 0x00;
  step();
  EXPECT_EQ(s.f, 0xFF);
  EXPECT_EQ(s.a, 0x00);
}

TEST_F(ExchangeTest, ExchangeWithStackTopTimingAndWrap) {
  load({0xE3});  // EX (SP),HL
  s.sp = 0xFFFF;
  mem[0xFFFF] = 0x11;
  mem[0x0000] = 0x22;
  set_hl(0x3344);
  EXPECT_EQ(step(), 19u);
  const std::vector<BusEvent> expected = {{'r', kOrigin, 0xE3, 3},  {'r', 0xFFFF, 0x11, 10},
                                          {'r', 0x0000, 0x22, 13},  {'w', 0xFFFF, 0x44, 16},
                                          {'w', 0x0000, 0x33, 19}};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(hl(), 0x2211);
  EXPECT_EQ(s.sp, 0xFFFF);
}



}  // namespace
