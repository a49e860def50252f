// The Vorn keyboard layout, read from its one source file (rom/keyboard.txt).
// Both the ROM's key tables and the key picture are generated from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What a key gives in one layer: the byte the ROM delivers and the text a
// key cap shows for it.
struct KeySymbol {
  uint8_t code;        // 0 for none or a modifier
  std::string label;   // "A", "!", "SPACE", "DEL", "" for none
};

struct KeyLegend {
  int row;               // 0..7, selected by address line A(8 + row)
  int column;            // 0..4, bit of the value read
  std::string host_key;  // SDL scancode name without its prefix: "1", "Q", "LCTRL", "RETURN"
  KeySymbol plain, shift, ctrl;
  bool is_modifier;      // the Ctrl and Shift keys
};

// A symbol the layout file names in words (NONE, RETURN, BREAK, LEFT...),
// with the byte the ROM delivers for it and its key-cap text.
struct NamedKeySymbol {
  const char* name;
  uint8_t code;
  const char* label;
};
std::span<const NamedKeySymbol> keyboard_named_symbols();

// Reads the layout; on a malformed file returns false and sets `error` to
// "file:line: what". A valid layout has exactly 40 keys, one per position.
bool keyboard_layout_read(const std::string& path, std::vector<KeyLegend>& keys, std::string& error);
