// Loads: address wrap, indexed forms, index halves, I and R, and timing.
#include "tests/core/core_fixture.h"

namespace {

using LoadTest = CoreTest;


TEST_F(LoadTest, InlineWordAtTopOfMemoryWraps) {
  load(0xFFFE, {0x3A});  // LD A,(nn) with nn at FFFF/0000
  mem[0xFFFF] = 0x34;
  mem[0x0000] = 0x12;
  mem[0x1234] = 0x77;
  EXPECT_EQ(step(), 13u);
  EXPECT_EQ(s.a, 0x77);
  EXPECT_EQ(s.pc, 0x0001);
}

TEST_F(LoadTest, WordStoreAtFFFFWritesLowThenWrappedHigh) {
  load({0x22, 0xFF, 0xFF});  // LD (FFFFh),HL
  set_hl(0xABCD);
  EXPECT_EQ(step(), 16u);
  const std::vector<BusEvent> writes = {{'w', 0xFFFF, 0xCD, 13}, {'w', 0x0000, 0xAB, 16}};
  EXPECT_EQ(events_of('w'), writes);
}



TEST_F(LoadTest, IndexedStoreOfImmediateReadsDisplacementFirst) {
  load({0xFD, 0x36, 0x02, 0x99});  // LD (IY+2),99h
  s.iy = 0x6000;
  EXPECT_EQ(step(), 19u);
  EXPECT_EQ(mem[0x6002], 0x99);
  EXPECT_EQ(s.pc, kOrigin + 4);
  const std::vector<BusEvent> tail = {
      {'r', kOrigin + 2, 0x02, 13}, {'r', kOrigin + 3, 0x99, 16}, {'w', 0x6002, 0x99, 19}};
  EXPECT_EQ(std::vector<BusEvent>(events.begin() + 2, events.end()), tail);
}

TEST_F(LoadTest, IndexedFormsUseRealHAndL) {
  load({0xDD, 0x66, 0x00, 0xDD, 0x75, 0x01});  // LD H,(IX+0) ; LD (IX+1),L
  s.ix = 0x7000;
  s.l = 0x5C;
  mem[0x7000] = 0xA1;
  step();
  EXPECT_EQ(s.h, 0xA1);
  EXPECT_EQ(s.ix, 0x7000);
  step();
  EXPECT_EQ(mem[0x7001], 0x5C);
}



TEST_F(LoadTest, LoadAFromRSeesThisInstructionsFetches) {
  load({0xED, 0x5F});
  s.r = 0xA6;
  step();
  EXPECT_EQ(s.a, 0xA8);
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X);
}

TEST_F(LoadTest, LoadRKeepsBitSevenWhileCounting) {
  load({0xED, 0x4F, 0x00});
  s.a = 0xFF;
  step();
  EXPECT_EQ(s.r, 0xFF);
  step();
  EXPECT_EQ(s.r, 0x80);
}


}  // namespace
