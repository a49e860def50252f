// 8-bit arithmetic and logic: exact flags (X and Y included) and timing.
#include "tests/core/core_fixture.h"

namespace {

struct AluCase {
  const char* name;
  uint8_t opcode;  // operates on A and B
  uint8_t a, b, f;
  uint8_t result, flags;
};

class Alu8Test : public CoreTest, public ::testing::WithParamInterface<AluCase> {};

TEST_P(Alu8Test, ResultAndEveryFlagBit) {
  const AluCase& c = GetParam();
  load({c.opcode});
  s.a = c.a;
  s.b = c.b;
  s.f = c.f;
  EXPECT_EQ(step(), 4u);
  EXPECT_EQ(s.a, c.result);
  EXPECT_EQ(s.f, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, Alu8Test,
    ::testing::Values(AluCase{"AddSignedOverflow", 0x80, 0x7F, 0x01, 0x00, 0x80, 0x94},
                      AluCase{"SubBorrowSetsYX", 0x90, 0x00, 0x01, 0x00, 0xFF, 0xBB},
                      AluCase{"SbcHalfBorrowFromCarryIn", 0x98, 0x10, 0x00, 0x01, 0x0F, 0x1A},
                      AluCase{"SubSignedOverflow", 0x90, 0x80, 0x01, 0x00, 0x7F, 0x3E},
                      AluCase{"CompareTakesYXFromOperand", 0xB8, 0x10, 0x28, 0x00, 0x10, 0xBB},
                      AluCase{"AndSetsHalfAndParity", 0xA0, 0xF0, 0x3C, 0xFF, 0x30, 0x34},
                      AluCase{"DaaAfterAdd", 0x27, 0x3C, 0x00, 0x00, 0x42, 0x14},
                      AluCase{"DaaAfterSub", 0x27, 0x2D, 0x00, 0x12, 0x27, 0x26},
                      AluCase{"CplSetsHalfAndSubtract", 0x2F, 0x5A, 0x00, 0x00, 0xA5, 0x32},
                      AluCase{"ScfClearsHalf", 0x37, 0x28, 0x00, 0xD4, 0x28, 0xED},
                      AluCase{"CcfMovesOldCarryToHalf", 0x3F, 0x00, 0x00, 0x01, 0x00, 0x10},
                      AluCase{"CcfWithoutCarryClearsHalf", 0x3F, 0x00, 0x00, 0x10, 0x00, 0x01}),
    [](const auto& info) { return std::string(info.param.name); });

using Alu8FormTest = CoreTest;

TEST_F(Alu8FormTest, NegOfMinusOneTwentyEightOverflows) {
  load({0xED, 0x44, 0xED, 0x7C});
  s.a = 0x80;
  EXPECT_EQ(step(), 8u);
  EXPECT_EQ(s.a, 0x80);
  EXPECT_EQ(s.f, 0x87);
  s.a = 0x00;
  step();  // the copy at ED 7C
  EXPECT_EQ(s.f, 0x42);
}

TEST_F(Alu8FormTest, IncrementMemoryReadsThenWritesWithTiming) {
  load({0x34});  // INC (HL)
  set_hl(0x4000);
  mem[0x4000] = 0xFF;
  s.f = 0x01;
  EXPECT_EQ(step(), 11u);
  EXPECT_EQ(mem[0x4000], 0x00);
  EXPECT_EQ(s.f, 0x51);
  EXPECT_EQ(events[1], (BusEvent{'r', 0x4000, 0xFF, 8}));
  EXPECT_EQ(events[2], (BusEvent{'w', 0x4000, 0x00, 11}));
}

TEST_F(Alu8FormTest, IndexedOperandWrapsBelowZero) {
  load({0xDD, 0x86, 0xFA});  // ADD A,(IX-6)
  s.ix = 0x0005;
  mem[0xFFFF] = 0x22;
  s.a = 0x11;
  EXPECT_EQ(step(), 19u);
  EXPECT_EQ(s.a, 0x33);
  EXPECT_EQ(s.pc, kOrigin + 3);
  EXPECT_EQ(events[2], (BusEvent{'r', kOrigin + 2, 0xFA, 16}));
  EXPECT_EQ(events[3], (BusEvent{'r', 0xFFFF, 0x22, 19}));
}

TEST_F(Alu8FormTest, IndexedDecrementChargesNineBeforeDisplacement) {
  load({0xFD, 0x35, 0x01});  // DEC (IY+1)
  s.iy = 0x5000;
  mem[0x5001] = 0x80;
  EXPECT_EQ(step(), 23u);
  EXPECT_EQ(mem[0x5001], 0x7F);
  EXPECT_EQ(events[2].cycles, 17u);
  EXPECT_EQ(s.f & (FLAG_PV | FLAG_H | FLAG_N), FLAG_PV | FLAG_H | FLAG_N);
}


}  // namespace
