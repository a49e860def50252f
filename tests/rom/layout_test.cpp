// The keyboard layout and the ROM's key tables generated from it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "tests/rom/rom_machine.h"
#include "tools/keyboard_layout.h"

namespace {

std::vector<KeyLegend> layout() {
  std::vector<KeyLegend> keys;
  std::string error;
  EXPECT_TRUE(keyboard_layout_read("data/keyboard.txt", keys, error)) << error;
  return keys;
}

TEST(KeyboardLayout, GivesEveryPrintableCharacterAndTheEditingKeys) {
  std::set<int> codes;
  for (const KeyLegend& key : layout())
    for (const KeySymbol* symbol : {&key.plain, &key.shift, &key.ctrl}) codes.insert(symbol->code);
  for (int c = 0x20; c < 0x7F; ++c) EXPECT_TRUE(codes.count(c)) << "no key gives '" << char(c) << "'";
  for (const auto& named : keyboard_named_symbols()) {
    if (named.code) {
      EXPECT_TRUE(codes.count(named.code)) << "no key gives " << named.name;
    }
  }
}

TEST(KeyboardLayout, RomTablesMatchTheLayout) {
  RomMachine vorn;
  const uint16_t plain = rom_symbol("keymap_plain");
  const uint16_t shift = rom_symbol("keymap_shift");
  const uint16_t ctrl = rom_symbol("keymap_ctrl");
  for (const KeyLegend& key : layout()) {
    const int index = key.row * 5 + key.column;
    EXPECT_EQ(vorn.peek(plain + index), key.plain.code) << key.host_key;
    EXPECT_EQ(vorn.peek(shift + index), key.shift.code) << key.host_key;
    EXPECT_EQ(vorn.peek(ctrl + index), key.ctrl.code) << key.host_key;
  }
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

}  // namespace
