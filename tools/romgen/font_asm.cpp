// Converts a BDF bitmap font into the ROM's 8 x 8 character set, as an
// assembly include: 8 bytes per character for codes 32 to 127, top row
// first, bit 7 the leftmost pixel. Glyphs narrower than 8 pixels are placed
// one pixel in from the left, so that neighbouring characters never touch;
// the font's baseline sits on the cell's seventh row, leaving the eighth for
// descenders.
//
//   vorn-romgen-font FONT.bdf OUT.inc
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "tools/romgen/write_source.h"

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 127;
constexpr int kCell = 8;
constexpr int kLeftMargin = 1;
constexpr int kBaselineRow = 6;  // cell row of the pixels just above the baseline

using Glyph = std::array<uint8_t, kCell>;

// Reads every glyph of a BDF file whose encoding lies in the ROM's range.
// Pixels that would fall outside the cell are dropped.
bool read_bdf(const std::string& path, std::map<int, Glyph>& glyphs, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  std::string line;
  int encoding = -1, width = 0, height = 0, x_offset = 0, y_offset = 0, row = -1;
  Glyph glyph{};
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream fields(line);
    std::string keyword;
    fields >> keyword;
    if (keyword == "STARTCHAR") {
      encoding = -1;
      row = -1;
      glyph.fill(0);
    } else if (keyword == "ENCODING") {
      fields >> encoding;
    } else if (keyword == "BBX") {
      if (!(fields >> width >> height >> x_offset >> y_offset)) {
        error = path + ":" + std::to_string(number) + ": bad BBX";
        return false;
      }
    } else if (keyword == "BITMAP") {
      row = 0;
    } else if (keyword == "ENDCHAR") {
      if (encoding >= kFirstCode && encoding <= kLastCode) glyphs[encoding] = glyph;
      row = -1;
    } else if (row >= 0 && !keyword.empty()) {
      const unsigned long bits = std::stoul(keyword, nullptr, 16);
      const int bit_count = static_cast<int>(keyword.size()) * 4;
      // Bitmap row `row` lies at height y_offset + height - 1 - row above the baseline.
      const int cell_row = kBaselineRow - (y_offset + height - 1 - row);
      for (int x = 0; x < width && x < bit_count; ++x) {
        if (!((bits >> (bit_count - 1 - x)) & 1)) continue;
        const int cell_column = kLeftMargin + x_offset + x;
        if (cell_row >= 0 && cell_row < kCell && cell_column >= 0 && cell_column < kCell)
          glyph[cell_row] |= static_cast<uint8_t>(0x80 >> cell_column);
      }
      ++row;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vorn-romgen-font FONT.bdf OUT.inc\n";
    return 2;
  }
  std::map<int, Glyph> glyphs;
  std::string error;
  try {
    if (!read_bdf(argv[1], glyphs, error)) {
      std::cerr << error << "\n";
      return 1;
    }
  } catch (const std::exception&) {
    std::cerr << argv[1] << ": bad bitmap row\n";
    return 1;
  }
  std::ostringstream out;
  out << "; Character set for codes " << kFirstCode << " to " << kLastCode
      << ", generated from " << argv[1] << ".\n"
      << "; Misc-fixed 5x8: public domain (\"Public domain font. Share and enjoy.\").\n";
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    const Glyph glyph = glyphs.count(code) ? glyphs[code] : Glyph{};
    out << "        DEFB ";
    for (int row = 0; row < kCell; ++row) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0%02Xh", glyph[row]);
      out << hex << (row + 1 < kCell ? "," : "");
    }
    out << "        ; " << code << "\n";
  }
  return write_source(argv[2], out.str());
}
