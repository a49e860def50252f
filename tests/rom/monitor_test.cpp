// The monitor's commands and its answers to bad input.
#include <gtest/gtest.h>

#include "tests/rom/rom_machine.h"

namespace {

TEST(MonitorMemory, DumpShowsHexAndText) {
  RomMachine vorn;
  vorn.type("e 6000 \"Hi\" 00 7f 41\n");
  vorn.type("d 6000 8\n", 20);
  EXPECT_TRUE(vorn.screen_shows("6000 4869007F 41000000 Hi..A...")) << vorn.screen()[4];
}

TEST(MonitorMemory, DumpGoesOnWhereItStopped) {
  RomMachine vorn;
  vorn.type("d 6000 8\n", 20);
  vorn.type("d\n", 60);
  EXPECT_TRUE(vorn.screen_shows("6008 00000000"));
  EXPECT_TRUE(vorn.screen_shows("6040 00000000"));
}

TEST(MonitorMemory, EnterWritesNothingWhenAValueIsBad) {
  RomMachine vorn;
  vorn.type("e 6000 11 22 3g\n", 30);
  EXPECT_EQ(vorn.peek(0x6000), 0);
  EXPECT_TRUE(vorn.screen_shows("Bad number"));
}

TEST(MonitorMemory, FillCoversExactlyTheGivenLength) {
  RomMachine vorn;
  vorn.type("f 6001 10 aa\n");
  EXPECT_EQ(vorn.peek(0x6000), 0);
  for (int i = 0; i < 0x10; ++i) EXPECT_EQ(vorn.peek(0x6001 + i), 0xAA) << i;
  EXPECT_EQ(vorn.peek(0x6011), 0);
}

TEST(MonitorMemory, CopyHandlesOverlapBothWays) {
  RomMachine vorn;
  vorn.type("e 6000 1 2 3 4\n");
  vorn.type("c 6000 6001 4\n");
  EXPECT_EQ(vorn.peek(0x6001), 1);
  EXPECT_EQ(vorn.peek(0x6004), 4);
  vorn.type("c 6001 6000 4\n");
  EXPECT_EQ(vorn.peek(0x6000), 1);
  EXPECT_EQ(vorn.peek(0x6003), 4);
}

TEST(MonitorRun, GoRunsCodeAndReturnsToThePrompt) {
  RomMachine vorn;
  // ld a,42h / ld (6000h),a / ret
  vorn.type("e 5000 3e 42 32 00 60 c9\n");
  vorn.type("g 5000\n");
  EXPECT_EQ(vorn.peek(0x6000), 0x42);
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(MonitorPorts, InReadsTheKeyboardRow) {
  RomMachine vorn;
  vorn.type("i fe80\n", 20);
  EXPECT_TRUE(vorn.screen_shows("1F"));
}

TEST(MonitorPorts, OutDrivesTheSpeaker) {
  RomMachine vorn;
  vorn.sound.clear();
  vorn.type("o 80 80\n", 2);
  EXPECT_NE(std::find(vorn.sound.begin(), vorn.sound.end(), 255), vorn.sound.end());
}

struct BadInput {
  const char* line;
  const char* message;
};

class MonitorErrors : public testing::TestWithParam<BadInput> {};

TEST_P(MonitorErrors, BadInputGetsItsMessageAndTheErrorBeep) {
  RomMachine vorn;
  vorn.sound.clear();
  vorn.type(std::string(GetParam().line) + "\n", 30);
  EXPECT_TRUE(vorn.screen_shows(GetParam().message)) << GetParam().line;
  EXPECT_NE(std::find(vorn.sound.begin(), vorn.sound.end(), 255), vorn.sound.end());
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MonitorErrors,
    testing::Values(BadInput{"frob", "What? Type HELP for commands"},
                    BadInput{"d 5g00", "Bad number"}, BadInput{"d 12345", "Bad number"},
                    BadInput{"f 6000", "Missing value"}, BadInput{"e 6000 123", "Value out of range"},
                    BadInput{"f 4800 10 0", "System area 4000-4FFF"},
                    BadInput{"c 6000 fff8 10", "Value out of range"},
                    BadInput{"e 6000 \"ab", "Missing closing quote"},
                    BadInput{"s demo 6000 10", "Name: 1-10 chars in quotes"},
                    BadInput{"s \"elevenchars\" 6000 10", "Name: 1-10 chars in quotes"},
                    BadInput{"s \"x\" 6000 0", "Value out of range"},
                    BadInput{"cls now", "Extra input at end"},
                    BadInput{"b 5 100", "Value out of range"},
                    BadInput{"b 99999", "Bad number"}));

}  // namespace
