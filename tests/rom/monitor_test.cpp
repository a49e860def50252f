// The monitor's commands and its answers to bad input. The beep's pitch and
// length are measured from the speaker samples: every OUT to the speaker
// leaves one sample of 255 (high) or 0 (low) where it falls.
#include <gtest/gtest.h>

#include "tests/rom/rom_machine.h"

namespace {

bool made_sound(const std::vector<uint8_t>& samples) {
  return std::find(samples.begin(), samples.end(), 255) != samples.end();
}

std::vector<uint8_t> memory(uint16_t start, uint16_t length) {
  return {machine.memory + start, machine.memory + start + length};
}

TEST(MonitorMemory, DumpShowsHexAndTextThenGoesOnWhereItStopped) {
  RomMachine vorn;
  vorn.type("e 6000 \"Hi\" 00 7f 41\n");
  vorn.type("d 6000 8\n", 20);
  EXPECT_TRUE(vorn.screen_shows("6000 4869007F 41000000 Hi..A...")) << vorn.screen()[4];
  vorn.type("d\n", 60);
  EXPECT_TRUE(vorn.screen_shows("6008 00000000"));
  EXPECT_TRUE(vorn.screen_shows("6040 00000000"));
  EXPECT_FALSE(vorn.screen_shows("6048")) << "D shows 64 bytes by default";
}

TEST(MonitorMemory, FillCopyAndGoTouchExactlyTheirBytes) {
  RomMachine vorn;
  vorn.type("f 6001 10 aa\n");
  std::vector<uint8_t> filled(0x12, 0xAA);
  filled.front() = filled.back() = 0;
  EXPECT_EQ(memory(0x6000, 0x12), filled);
  vorn.type("e 7000 1 2 3 4\n");
  vorn.type("c 7000 7001 4\n");  // overlapping upwards
  EXPECT_EQ(memory(0x7000, 6), (std::vector<uint8_t>{1, 1, 2, 3, 4, 0}));
  vorn.type("c 7001 7000 4\n");  // and downwards
  EXPECT_EQ(memory(0x7000, 6), (std::vector<uint8_t>{1, 2, 3, 4, 4, 0}));
  vorn.type("e 5000 3e 42 32 00 60 c9\n");  // ld a,42h / ld (6000h),a / ret
  vorn.type("g 5000\n");
  EXPECT_EQ(vorn.peek(0x6000), 0x42);
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(MonitorPorts, InReadsTheKeyboardRowAndOutDrivesTheSpeaker) {
  RomMachine vorn;
  vorn.type("i fe80\n", 20);
  EXPECT_TRUE(vorn.screen_shows("1F"));
  vorn.sound.clear();
  vorn.type("o 80 80\n", 2);
  EXPECT_TRUE(made_sound(vorn.sound));
}

struct BeepCase {
  const char* values;  // after B; none gives the default
  int hertz, ms;
};
void PrintTo(const BeepCase& c, std::ostream* os) { *os << c.hertz << " Hz " << c.ms << " ms"; }

class Beep : public testing::TestWithParam<BeepCase> {};

TEST_P(Beep, HasTheRequestedPitchAndLength) {
  const auto [values, hertz, ms] = GetParam();
  RomMachine vorn;
  vorn.type(std::string("b") + values, 4);
  vorn.sound.clear();
  vorn.type("\n", ms / 20 + 20);
  std::vector<size_t> rises;
  for (size_t i = 0; i < vorn.sound.size(); ++i)
    if (vorn.sound[i] == 255) rises.push_back(i);
  ASSERT_GE(rises.size(), 2u);
  const double span = static_cast<double>(rises.back() - rises.front()) / 44'100.0;
  EXPECT_NEAR(static_cast<double>(rises.size() - 1) / span, hertz, hertz * 0.001);
  // From the first to the last rise is one period short of the whole beep.
  EXPECT_NEAR(span + 1.0 / hertz, ms / 1000.0, 0.003);
}

INSTANTIATE_TEST_SUITE_P(Pitches, Beep,
                         testing::Values(BeepCase{"", 1000, 200}, BeepCase{" 440 500", 440, 500},
                                         BeepCase{" 50 400", 50, 400}, BeepCase{" 3520 100", 3520, 100},
                                         BeepCase{" 9000 60", 9000, 60}));


struct BadInput {
  const char* line;
  const char* message;
};
void PrintTo(const BadInput& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class MonitorErrors : public testing::TestWithParam<BadInput> {};

TEST_P(MonitorErrors, BadInputGetsItsMessageAndTheErrorBeepAndChangesNothing) {
  RomMachine vorn;
  vorn.sound.clear();
  vorn.type(std::string(GetParam().line) + "\n", 30);
  EXPECT_TRUE(vorn.screen_shows(GetParam().message)) << GetParam().line;
  EXPECT_TRUE(made_sound(vorn.sound));
  EXPECT_EQ(vorn.last_prompt_row(), ">");
  EXPECT_EQ(vorn.peek(0x6000), 0);
}

using B = BadInput;
INSTANTIATE_TEST_SUITE_P(
    Lines, MonitorErrors,
    testing::Values(B{"frob", "What? Type HELP for commands"}, B{"cls now", "Extra input at end"},
                    B{"d 5g00", "Bad number"}, B{"d 12345", "Bad number"}, B{"b 99999", "Bad number"},
                    B{"e 6000 11 22 3g", "Bad number"}, B{"e 6000 \"ab", "Missing closing quote"},
                    B{"f 6000", "Missing value"}, B{"f 4800 10 0", "System area 4000-4FFF"},
                    B{"e 6000 123", "Value out of range"}, B{"c 6000 fff8 10", "Value out of range"},
                    B{"b 5 100", "Value out of range"}, B{"s \"x\" 6000 0", "Value out of range"},
                    B{"s demo 6000 10", "Name: 1-10 chars in quotes"},
                    B{"s \"elevenchars\" 6000 10", "Name: 1-10 chars in quotes"}));

}  // namespace
