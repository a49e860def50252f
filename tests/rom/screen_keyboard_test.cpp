// The boot screen, the keyboard layout and scan, and the line editor.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "machine/scancodes.h"
#include "tests/rom/rom_machine.h"
#include "tools/keyboard_layout.h"

namespace {

const std::string kBanner = "VORN 48K  system monitor 1.0";

TEST(BootScreen, BannerAndPromptOnAClearScreenAndScrollAtTheBottom) {
  RomMachine vorn;
  auto rows = vorn.screen();
  EXPECT_EQ(rows[0], kBanner);
  EXPECT_EQ(rows[1], "Type HELP for the commands");
  EXPECT_EQ(rows[2], ">");
  for (int row = 3; row < 32; ++row) EXPECT_EQ(rows[row], "") << "row " << row;
  for (int i = 0; i < 3; ++i) vorn.type("help\n", 80);
  rows = vorn.screen();
  EXPECT_NE(rows[0], kBanner);
  EXPECT_EQ(rows[30], "Ctrl+5678 cursor, Ctrl+L clear") << "HELP's last line";
  EXPECT_EQ(rows[31], ">");
}

TEST(KeyboardLayout, RomTablesMatchTheLayoutWhichGivesEveryPrintableCharacterAndEditingKey) {
  std::vector<KeyLegend> layout;
  std::string error;
  ASSERT_TRUE(keyboard_layout_read("data/keyboard.txt", layout, error)) << error;
  RomMachine vorn;
  const uint16_t tables[] = {rom_symbol("keymap_plain"), rom_symbol("keymap_shift"),
                             rom_symbol("keymap_ctrl")};
  std::set<int> codes;
  for (const KeyLegend& key : layout) {
    const KeySymbol* layers[] = {&key.plain, &key.shift, &key.ctrl};
    for (int layer = 0; layer < 3; ++layer) {
      codes.insert(layers[layer]->code);
      EXPECT_EQ(vorn.peek(tables[layer] + key.row * 5 + key.column), layers[layer]->code)
          << key.host_key << " in layer " << layer;
    }
  }
  for (int c = 0x20; c < 0x7F; ++c) EXPECT_TRUE(codes.count(c)) << "no key gives '" << char(c) << "'";
  for (const auto& named : keyboard_named_symbols())
    EXPECT_TRUE(!named.code || codes.count(named.code)) << "no key gives " << named.name;
}

TEST(KeyboardLayout, MalformedFilesAreRefusedWithTheirLine) {
  const std::string path = testing::TempDir() + "bad_layout.txt";
  const struct { const char* text; const char* error; } cases[] = {
      {"0 0 1 1 ! |\n", "1 keys, expected 40"},
      {"0 0 1 1 ! | extra\n", ":1: expected"},
      {"9 0 1 1 ! |\n", ":1: row must be"},
      {"x 0 1 1 ! |\n", ":1: row must be"},
      {"0 0 1 1 ! |\n0 0 1 1 ! |\n", ":2: position given twice"},
      {"0 0 1 1 ! TAB\n", ":1: a symbol is"}};
  for (const auto& c : cases) {
    std::ofstream(path) << c.text;
    std::vector<KeyLegend> keys;
    std::string error;
    EXPECT_FALSE(keyboard_layout_read(path, keys, error)) << c.text;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST(Keyboard, EveryLayerIsEchoedAndAKeyDownForOneFrameIsNotLost) {
  RomMachine vorn;
  vorn.type("aZ9!{~");
  vorn.hold(SCANCODE_Q, 1);
  EXPECT_EQ(vorn.last_prompt_row(), "> aZ9!{~q");
}

TEST(Keyboard, HeldKeyGivesOneCharacterThenAPauseThenRepeats) {
  RomMachine vorn;
  vorn.hold(SCANCODE_X, 20);  // let go within the pause
  vorn.hold(SCANCODE_Y, 67);  // the pause ends at frame 27: then 40 frames of repeat
  const std::string row = vorn.last_prompt_row();
  EXPECT_EQ(std::count(row.begin(), row.end(), 'x'), 1) << row;
  const auto repeats = std::count(row.begin(), row.end(), 'y');
  EXPECT_GE(repeats, 10) << row;
  EXPECT_LE(repeats, 13) << row;
}

TEST(LineEditor, LeftDelRightAndUpEditAndRecallTheLine) {
  RomMachine vorn;
  vorn.type("e 6000 1 4" + kLeft + "3X" + kDel + kRight + " 5\n");
  EXPECT_TRUE(vorn.screen_shows("> e 6000 1 34 5"));
  EXPECT_EQ(vorn.peek(0x6001), 0x34);
  EXPECT_EQ(vorn.peek(0x6002), 0x05);
  machine.memory[0x6001] = 0;
  vorn.type(kUp + "\n");
  EXPECT_EQ(vorn.peek(0x6001), 0x34);
}

TEST(LineEditor, LineStopsAtItsLimitWithoutOverrunAndBreakAbandonsIt) {
  RomMachine vorn;
  const uint16_t past_buffer = rom_symbol("line_buffer") + 30;
  const uint8_t before = vorn.peek(past_buffer);
  const std::string line = "e 6000 11 11 11 11 11 11 11 1";  // 29 characters: the limit
  vorn.type(line + "1111111111");
  EXPECT_EQ(vorn.last_prompt_row(), "> " + line);
  EXPECT_EQ(vorn.peek(past_buffer), before);
  vorn.type(kBreak);
  EXPECT_EQ(vorn.peek(0x6000), 0) << "the abandoned line ran";
  EXPECT_EQ(vorn.last_prompt_row(), ">");
}

}  // namespace
