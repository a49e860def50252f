// Flag rules the instruction exercisers do not pin down, or where the core
// deliberately follows its own rule: SCF/CCF and H, RLD/RRD Y and X from the
// new A, CPI/CPIR Y from bit 1 of n, BIT n,(HL) Y and X from the
// byte read, a repeating block step setting its flags as a single step, and
// the I/O instructions, which the exercisers do not run.
// Setup: HL=4000h BC=0201h DE=6000h, pc=8000h (so silicon's repeat-step Y/X
// from pc's high byte would be 0).
#include "tests/core/core_fixture.h"

namespace {

struct Rule {
  const char* name;
  std::vector<uint8_t> bytes;
  uint8_t a, f, at_hl;           // before: A, F, the byte at (HL) and from every port
  uint8_t new_a, new_f, new_hl;  // after
};

class FlagRuleTest : public CoreTest, public ::testing::WithParamInterface<Rule> {};

TEST_P(FlagRuleTest, ResultAndEveryFlagBit) {
  const Rule& c = GetParam();
  load(c.bytes);
  s.a = c.a;
  s.f = c.f;
  s.b = 0x02, s.c = 0x01, s.d = 0x60, s.e = 0x00, s.h = 0x40, s.l = 0x00;
  mem[0x4000] = port_value = c.at_hl;
  step();
  EXPECT_EQ(s.a, c.new_a);
  EXPECT_EQ(s.f, c.new_f);
  EXPECT_EQ(mem[0x4000], c.new_hl);
  const bool block = c.bytes[0] == 0xED && c.bytes[1] >= 0xA0;  // steps HL; the others keep it
  EXPECT_EQ(pair(s.h, s.l) != 0x4000, block);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FlagRuleTest,
    ::testing::Values(
        Rule{"ScfClearsHalfTakesYXFromA", {0x37}, 0x28, 0xD4, 0, 0x28, 0xED, 0},
        Rule{"CcfMovesOldCarryToHalf", {0x3F}, 0x00, 0x01, 0, 0x00, 0x10, 0},
        Rule{"CcfWithoutCarryClearsHalf", {0x3F}, 0x00, 0x10, 0, 0x00, 0x01, 0},
        Rule{"RldYXFromNewA", {0xED, 0x6F}, 0x12, 0x29, 0x34, 0x13, 0x01, 0x42},
        Rule{"RrdYXFromNewA", {0xED, 0x67}, 0x12, 0x28, 0x34, 0x14, 0x04, 0x23},
        Rule{"CpiYFromBitOneOfN", {0xED, 0xA1}, 0x12, 0x01, 0x10, 0x12, 0x27, 0x10},
        Rule{"CpiWithHalfBorrowNMinusOne", {0xED, 0xA1}, 0x10, 0x01, 0x01, 0x10, 0x3F, 0x01},
        Rule{"CpirRepeatStepFlagsAsCpi", {0xED, 0xB1}, 0x12, 0x01, 0x10, 0x12, 0x27, 0x10},
        Rule{"LdirRepeatStepFlagsAsLdi", {0xED, 0xB0}, 0x00, 0x81, 0x0A, 0x00, 0xAD, 0x0A},
        Rule{"IniHalfCarryFromCPlusOne", {0xED, 0xA2}, 0x00, 0x00, 0xFF, 0x00, 0x17, 0xFF},
        Rule{"IndNoCarryFromCMinusOne", {0xED, 0xAA}, 0x00, 0x00, 0xFF, 0x00, 0x06, 0xFF},
        Rule{"OutiCarryFromLAfterStep", {0xED, 0xA3}, 0x00, 0x00, 0xFF, 0x00, 0x13, 0xFF},
        Rule{"InAOfImmediatePortKeepsFlags", {0xDB, 0xFE}, 0x7F, 0x01, 0x00, 0x00, 0x01, 0x00},
        Rule{"NegCopyAt7C", {0xED, 0x7C}, 0x01, 0x00, 0, 0xFF, 0xBB, 0},
        Rule{"BitOfHlYXFromByteRead", {0xCB, 0x6E}, 0x00, 0x01, 0x28, 0x00, 0x39, 0x28}),
    [](const auto& info) { return std::string(info.param.name); });

using InputTest = CoreTest;

TEST_F(InputTest, InFSetsFlagsLikeInRAndStoresNothing) {
  load({0xED, 0x70, 0xED, 0x70, 0xED, 0x78});  // IN F,(C) twice ; IN A,(C)
  s.a = 0x33, s.b = 0x02, s.c = 0x01, s.d = 0x60, s.e = 0x00, s.h = 0x40, s.l = 0x00;
  const std::array<uint8_t, 65536> before = mem;
  port_value = 0x12;
  s.f = FLAG_C;
  step();
  EXPECT_EQ(s.f, FLAG_PV | FLAG_C);
  port_value = 0xFF;
  s.f = 0;
  step();
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X | FLAG_PV);
  EXPECT_EQ(s.a, 0x33);
  EXPECT_EQ(pair(s.b, s.c) ^ pair(s.d, s.e) ^ pair(s.h, s.l), 0x0201 ^ 0x6000 ^ 0x4000);
  EXPECT_TRUE(mem == before);
  port_value = 0x12;
  s.f = FLAG_C;
  step();
  EXPECT_EQ(s.a, 0x12);
  EXPECT_EQ(s.f, FLAG_PV | FLAG_C);
}

}  // namespace
