#include "tools/headless/screen_text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

constexpr int kRows = 32;
constexpr int kColumns = 32;
constexpr int kGlyphs = 96;
constexpr uint32_t kScreen = 0xE000;

// The character of the cell whose top line is at `cell`, or '?'. The font is
// read as the processor would, its addresses wrapping at 64 KiB.
char read_cell(const uint8_t* memory, uint32_t cell, uint16_t font) {
  for (const uint8_t invert : {0x00, 0xFF})
    for (int glyph = 0; glyph < kGlyphs; ++glyph) {
      int line = 0;
      while (line < 8 && (memory[cell + line * kColumns] ^ invert) ==
                             memory[(font + glyph * 8 + line) & 0xFFFF])
        ++line;
      if (line == 8) return static_cast<char>(' ' + glyph);
    }
  return '?';
}

}  // namespace

std::vector<std::string> screen_text(const uint8_t* memory, uint16_t font) {
  std::vector<std::string> rows(kRows);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column)
      rows[row] += read_cell(memory, kScreen + row * 8 * kColumns + column, font);
    rows[row].erase(rows[row].find_last_not_of(' ') + 1);
  }
  return rows;
}

bool screen_shows(const uint8_t* memory, uint16_t font, const std::string& text) {
  const auto rows = screen_text(memory, font);
  return std::any_of(rows.begin(), rows.end(),
                     [&](const std::string& row) { return row.find(text) != std::string::npos; });
}

int32_t read_symbol(const std::string& path, const std::string& name) {
  std::ifstream in(path);
  char found[80];
  unsigned value;
  for (std::string line; std::getline(in, line);)
    if (std::sscanf(line.c_str(), "%79s EQU %xH", found, &value) == 2 && name == found && value <= 0xFFFF)
      return static_cast<int32_t>(value);
  return -1;
}
