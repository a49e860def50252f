// Control flow: jumps, calls, returns, restarts, and the interrupt controls.
#include "tests/core/core_fixture.h"

namespace {

using ControlTest = CoreTest;

TEST_F(ControlTest, RelativeJumpOfMinusTwoLandsOnItself) {
  load({0x18, 0xFE});
  EXPECT_EQ(step(), 12u);
  EXPECT_EQ(s.pc, kOrigin);
}

TEST_F(ControlTest, UntakenRelativeJumpReadsDisplacementOnly) {
  load({0x20, 0x10});  // JR NZ with Z set
  s.f = FLAG_Z;
  EXPECT_EQ(step(), 7u);
  EXPECT_EQ(s.pc, kOrigin + 2);
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(ControlTest, DjnzCountsBWithoutTouchingFlags) {
  load({0x10, 0x05});
  s.b = 1;
  s.f = 0x00;
  EXPECT_EQ(step(), 8u);
  EXPECT_EQ(s.b, 0);
  EXPECT_EQ(s.pc, kOrigin + 2);
  load({0x10, 0x05});
  EXPECT_EQ(step(), 13u);
  EXPECT_EQ(s.b, 0xFF);
  EXPECT_EQ(s.pc, kOrigin + 7);
  EXPECT_EQ(s.f, 0x00);
}

TEST_F(ControlTest, UntakenAbsoluteJumpStillReadsBothBytes) {
  load({0xDA, 0x00, 0x10});  // JP C with C clear
  EXPECT_EQ(step(), 10u);
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(s.pc, kOrigin + 3);
}

TEST_F(ControlTest, CallPushesReturnAddressLowByteFirst) {
  load(0x1234, {0xCD, 0x00, 0x50});
  s.sp = 0x8000;
  EXPECT_EQ(step(), 17u);
  const std::vector<BusEvent> writes = {{'w', 0x7FFE, 0x37, 14}, {'w', 0x7FFF, 0x12, 17}};
  EXPECT_EQ(events_of('w'), writes);
  EXPECT_EQ(s.pc, 0x5000);
}

TEST_F(ControlTest, ConditionalCallAndReturnCostWhenNotTaken) {
  load({0xC4, 0x00, 0x50, 0xC0});  // CALL NZ ; RET NZ, with Z set
  s.f = FLAG_Z;
  EXPECT_EQ(step(), 10u);
  EXPECT_EQ(step(), 5u);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_EQ(s.sp, 0xF000);
}


TEST_F(ControlTest, RetnAndRetiRestoreIff1FromIff2) {
  load({0xED, 0x45});
  s.iff2 = 1;
  EXPECT_EQ(step(), 14u);
  EXPECT_EQ(s.iff1, 1);
  load({0xED, 0x4D});
  s.iff2 = 0;
  step();
  EXPECT_EQ(s.iff1, 0);
}




}  // namespace
