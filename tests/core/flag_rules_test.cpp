// Flag rules the instruction exercisers do not pin down, or where the core
// deliberately follows its own rule: SCF/CCF and H, RLD/RRD Y and X from the
// new A, CPI/CPIR Y from bit 1 of n, BIT n,(HL) Y and X from the
// byte read, a repeating block step setting its flags as a single step, and
// the I/O instructions, which the exercisers do not run (IN F,(C) sets the
// flags as IN r,(C) and stores nothing).
// From the fixture's registers: pc=8000h, so silicon's repeat-step Y/X from
// pc's high byte would be 0.
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
  mem[0x4000] = port_value = c.at_hl;
  step();
  EXPECT_EQ(s.a, c.new_a);
  EXPECT_EQ(s.f, c.new_f);
  EXPECT_EQ(mem[0x4000], c.new_hl);
  // The block steps move HL; every other rule keeps BC, DE and HL.
  const bool kept = pair(s.b, s.c) == 0x0201 && pair(s.d, s.e) == 0x6000 && pair(s.h, s.l) == 0x4000;
  EXPECT_EQ(kept, c.bytes[0] != 0xED || c.bytes[1] < 0xA0);
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
        Rule{"InFParityKeepsCarry", {0xED, 0x70}, 0x33, 0x01, 0x12, 0x33, 0x05, 0x12},
        Rule{"InFSignYXOfByte", {0xED, 0x70}, 0x33, 0x00, 0xFF, 0x33, 0xAC, 0xFF},
        Rule{"InAOfCAsInF", {0xED, 0x78}, 0x33, 0x01, 0x12, 0x12, 0x05, 0x12},
        Rule{"NegCopyAt7C", {0xED, 0x7C}, 0x01, 0x00, 0, 0xFF, 0xBB, 0},
        Rule{"BitOfHlYXFromByteRead", {0xCB, 0x6E}, 0x00, 0x01, 0x28, 0x00, 0x39, 0x28}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
