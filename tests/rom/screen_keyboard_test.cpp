// The boot screen, the keyboard scan and the line editor.
#include <gtest/gtest.h>

#include "machine/scancodes.h"
#include "tests/rom/rom_machine.h"

namespace {

int count_of(const std::string& text, char c) {
  return static_cast<int>(std::count(text.begin(), text.end(), c));
}

TEST(BootScreen, ShowsBannerAndPromptAfterReset) {
  RomMachine vorn;
  const auto rows = vorn.screen();
  EXPECT_EQ(rows[0], "VORN 48K  system monitor 1.0");
  EXPECT_EQ(rows[1], "Type HELP for the commands");
  EXPECT_EQ(rows[2].substr(0, 1), ">");
  for (int row = 3; row < 32; ++row) EXPECT_EQ(rows[row], "") << "row " << row;
}

TEST(BootScreen, ComesBackAfterMachineReset) {
  RomMachine vorn;
  vorn.type("cls\n");
  EXPECT_FALSE(vorn.screen_shows("VORN 48K"));
  machine_reset();
  vorn.run(10);
  EXPECT_EQ(vorn.screen()[0], "VORN 48K  system monitor 1.0");
}

TEST(Keyboard, TypedCharactersOfEveryLayerAreEchoed) {
  RomMachine vorn;
  vorn.type("aZ9!{~");
  EXPECT_EQ(vorn.last_prompt_row(), "> aZ9!{~");
}

TEST(Keyboard, KeyDownForOneFrameIsNotLost) {
  RomMachine vorn;
  vorn.press(SCANCODE_Q);
  vorn.run(1);
  vorn.release(SCANCODE_Q);
  vorn.run(5);
  EXPECT_EQ(vorn.last_prompt_row(), "> q");
}

TEST(Keyboard, HeldKeyGivesOneCharacterDuringThePause) {
  RomMachine vorn;
  vorn.hold(SCANCODE_X, 20);
  vorn.run(2);
  EXPECT_EQ(count_of(vorn.last_prompt_row(), 'x'), 1);
}

TEST(Keyboard, HeldKeyRepeatsAfterThePause) {
  RomMachine vorn;
  vorn.hold(SCANCODE_X, 67);  // the pause ends at frame 27: then 40 frames of repeat
  vorn.run(2);
  const int repeats = count_of(vorn.last_prompt_row(), 'x');
  EXPECT_GE(repeats, 10);
  EXPECT_LE(repeats, 13);
}

TEST(LineEditor, DeleteAndCursorKeysEditTheLine) {
  RomMachine vorn;
  vorn.type("e 6000 4");
  vorn.hold(SCANCODE_5, 1, SCANCODE_LCTRL);  // LEFT
  vorn.run(3);
  vorn.type("3X");
  vorn.hold(SCANCODE_H, 1, SCANCODE_LCTRL);  // DEL takes the X
  vorn.run(3);
  vorn.hold(SCANCODE_8, 1, SCANCODE_LCTRL);  // RIGHT
  vorn.run(3);
  vorn.type("\n");
  EXPECT_TRUE(vorn.screen_shows("> e 6000 34"));
  EXPECT_EQ(vorn.peek(0x6000), 0x34);
}

TEST(LineEditor, UpRecallsThePreviousLine) {
  RomMachine vorn;
  vorn.type("e 6000 77\n");
  vorn.poke(0x6000, 0);
  vorn.hold(SCANCODE_7, 1, SCANCODE_LCTRL);  // UP
  vorn.run(3);
  vorn.type("\n");
  EXPECT_EQ(vorn.peek(0x6000), 0x77);
}

TEST(LineEditor, LineStopsAtItsLengthLimitWithoutOverrun) {
  RomMachine vorn;
  const uint8_t after = vorn.peek(rom_symbol("line_buffer") + 30);
  vorn.type(std::string(40, 'k'));
  EXPECT_EQ(vorn.last_prompt_row(), "> " + std::string(29, 'k'));
  EXPECT_EQ(vorn.peek(rom_symbol("line_buffer") + 30), after);
}

TEST(LineEditor, BreakAbandonsTheLine) {
  RomMachine vorn;
  vorn.type("e 6000 11");
  vorn.hold(SCANCODE_C, 1, SCANCODE_LCTRL);
  vorn.run(5);
  EXPECT_EQ(vorn.peek(0x6000), 0);
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

TEST(Screen, ScrollsWhenTheBottomIsReached) {
  RomMachine vorn;
  for (int i = 0; i < 3; ++i) vorn.type("help\n", 80);
  const auto rows = vorn.screen();
  EXPECT_NE(rows[0], "VORN 48K  system monitor 1.0");
  EXPECT_EQ(rows[31].substr(0, 1), ">");
}

}  // namespace
