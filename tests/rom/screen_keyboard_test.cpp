// The boot screen, and the keyboard: its layout and the ROM's scan.
#include <set>

#include "tests/machine/vorn_machine.h"

namespace {

using Screen = Vorn;

TEST_F(Screen, BootsToBasicMonGivesThePromptEchoesEveryLayerRepeatsAHeldKeyAfterAPauseAndScrollsAtTheBottom) {
  // Holds a host key for `frames` frames, lets go and runs 3 frames more.
  const auto hold = [this](int scancode, uint32_t frames) {
    keys[scancode] = 1;
    run(frames);
    keys[scancode] = 0;
    run(3);
  };
  start();  // BASIC's banner (its free bytes are checked with FRE), then MON
  std::vector<std::string> expected = {"Vorn BASIC 1.0", screen()[1], "Ready", "mon",
                                       "VORN 48K  system monitor 1.0", "Type HELP for the commands", ">"};
  expected.resize(32);
  EXPECT_EQ(screen(), expected);
  type("aZ9!{~");
  hold(SCANCODE_Q, 1);  // a key down for one frame is not lost
  EXPECT_EQ(prompt_row(), "> aZ9!{~q");
  type(kBreak);
  hold(SCANCODE_X, 20);  // let go within the pause
  hold(SCANCODE_Y, 67);  // the pause ends at frame 27: then 40 frames of a repeat every 4
  EXPECT_EQ(prompt_row(), "> xyyyyyyyyyyyy");
  type(kBreak);
  for (int i = 0; i < 3; ++i) type("help\n", 80);
  const auto rows = screen();
  EXPECT_EQ(rows[30], "Ctrl+5678 cursor, Ctrl+L clear") << "HELP's last line";
  EXPECT_EQ(rows[31], ">");
}

// BASIC's TIMER and its test for a break between statements.
TEST_F(Screen, FramesCarryIntoTheHighWordAndCtrlCRaisesTheBreakFlagEvenWithTheKeyBufferFull) {
  start();
  const uint16_t flag = rom_symbol("break_flag"), high = rom_symbol("frames_high");
  machine.memory[0x4000] = machine.memory[0x4001] = 0xFF;
  run(1);
  EXPECT_EQ(machine.memory[0x4000] | machine.memory[0x4001] << 8 | machine.memory[high] << 16, 1 << 16);
  type(kBreak + "e 5000 18 fe\ng 5000\n");  // jr $: a program that reads no keys
  EXPECT_EQ(machine.memory[flag], 0) << "the editor clears it on its way out";
  type("12345678" + kBreak);
  EXPECT_NE(machine.memory[flag], 0);
}

TEST(KeyboardLayout, RomTablesMatchTheLayoutWhichGivesEveryPrintableCharacterAndEditingKey) {
  std::vector<KeyLegend> layout;
  std::string error;
  ASSERT_TRUE(keyboard_layout_read(VORN_DATA "/keyboard.txt", layout, error)) << error;
  const Bytes rom = data_file("vorn.bin");
  const uint16_t tables[] = {rom_symbol("keymap_plain"), rom_symbol("keymap_shift"), rom_symbol("keymap_ctrl")};
  std::set<int> codes;
  for (const KeyLegend& key : layout)
    for (int layer = 0; layer < 3; ++layer) {
      const uint8_t code = (layer == 0 ? key.plain : layer == 1 ? key.shift : key.ctrl).code;
      codes.insert(code);
      EXPECT_EQ(rom[tables[layer] + key.row * 5 + key.column], code) << key.host_key << " in layer " << layer;
    }
  for (int c = 0x20; c < 0x7F; ++c) EXPECT_TRUE(codes.count(c)) << "no key gives '" << char(c) << "'";
  for (const auto& named : keyboard_named_symbols())
    EXPECT_TRUE(!named.code || codes.count(named.code)) << "no key gives " << named.name;
}

TEST(KeyboardLayout, MalformedFilesAreRefusedWithTheirLine) {
  const std::string path = testing::TempDir() + "bad_layout.txt";
  const std::pair<const char*, const char*> cases[] = {
      {"0 0 1 1 ! |\n", "1 keys, expected 40"}, {"0 0 1 1 ! | extra\n", ":1: expected"},
      {"9 0 1 1 ! |\n", ":1: row must be"}, {"x 0 1 1 ! |\n", ":1: row must be"},
      {"0 0 1 1 ! |\n0 0 1 1 ! |\n", ":2: position given twice"}, {"0 0 1 1 ! TAB\n", ":1: a symbol is"}};
  for (const auto& [text, message] : cases) {
    std::ofstream(path) << text;
    std::vector<KeyLegend> keys;
    std::string error;
    EXPECT_FALSE(keyboard_layout_read(path, keys, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
}

}  // namespace
