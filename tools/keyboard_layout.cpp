#include "tools/keyboard_layout.h"

#include <array>
#include <fstream>
#include <sstream>

namespace {

// Symbols that cannot stand as a single character in the file.
constexpr std::array kNamedSymbols{
    NamedKeySymbol{"NONE", 0x00, ""},        NamedKeySymbol{"CTRL", 0x00, "CTRL"},
    NamedKeySymbol{"SHIFT", 0x00, "SHIFT"},  NamedKeySymbol{"SPACE", 0x20, "SPACE"},
    NamedKeySymbol{"RETURN", 0x0D, "RETURN"}, NamedKeySymbol{"HASH", 0x23, "#"},
    NamedKeySymbol{"BREAK", 0x03, "BRK"},    NamedKeySymbol{"DEL", 0x08, "DEL"},
    NamedKeySymbol{"CLEAR", 0x0C, "CLR"},    NamedKeySymbol{"LEFT", 0x11, "\x1B"},
    NamedKeySymbol{"RIGHT", 0x12, "\x1A"},   NamedKeySymbol{"UP", 0x13, "\x18"},
    NamedKeySymbol{"DOWN", 0x14, "\x19"},
};

bool parse_symbol(const std::string& token, KeySymbol& symbol) {
  if (token.size() == 1 && token[0] > 0x20 && token[0] < 0x7F && token[0] != '#') {
    symbol = {static_cast<uint8_t>(token[0]), token};
    return true;
  }
  for (const auto& named : kNamedSymbols) {
    if (token == named.name) {
      symbol = {named.code, named.label};
      return true;
    }
  }
  return false;
}

}  // namespace

std::span<const NamedKeySymbol> keyboard_named_symbols() { return kNamedSymbols; }

bool keyboard_layout_read(const std::string& path, std::vector<KeyLegend>& keys, std::string& error) {
  keys.clear();
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  bool seen[8][5] = {};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    auto fail = [&](const std::string& what) {
      error = path + ":" + std::to_string(number) + ": " + what;
      return false;
    };
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::string row, column, host, plain, shift, ctrl, extra;
    if (!(fields >> row)) continue;
    if (!(fields >> column >> host >> plain >> shift >> ctrl) || (fields >> extra))
      return fail("expected: row column host-key plain shift ctrl");
    KeyLegend key{};
    if (row.size() != 1 || column.size() != 1 || row[0] < '0' || row[0] > '7' ||
        column[0] < '0' || column[0] > '4')
      return fail("row must be 0-7 and column 0-4");
    key.row = row[0] - '0';
    key.column = column[0] - '0';
    if (seen[key.row][key.column]) return fail("position given twice");
    seen[key.row][key.column] = true;
    key.host_key = host;
    if (!parse_symbol(plain, key.plain) || !parse_symbol(shift, key.shift) ||
        !parse_symbol(ctrl, key.ctrl))
      return fail("a symbol is a printable character other than # or one of NONE CTRL SHIFT "
                  "SPACE RETURN HASH BREAK DEL CLEAR LEFT RIGHT UP DOWN");
    key.is_modifier = plain == "CTRL" || plain == "SHIFT";
    keys.push_back(key);
  }
  if (keys.size() != 40) {
    error = path + ": " + std::to_string(keys.size()) + " keys, expected 40";
    return false;
  }
  return true;
}
