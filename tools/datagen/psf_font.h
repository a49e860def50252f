// Reader of PSF1 console fonts (an uncompressed .psf file): 8-pixel-wide
// glyphs, one byte per row with the leftmost pixel in bit 7, and a Unicode
// table that says which characters each glyph draws.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PsfFont {
  int height = 0;                    // rows per glyph; the width is 8
  std::vector<uint8_t> glyphs;       // height bytes per glyph
  std::map<uint32_t, int> by_code;   // Unicode code point -> glyph index

  // The rows of the glyph that draws `code`, or null when the font has none.
  const uint8_t* rows(uint32_t code) const;
};

// The character a byte value stands for in the emulator's texts: Latin-1,
// with the arrows up, down, right and left at 0x18 to 0x1B (as the key
// legends use them); 0 for the other control codes, which draw nothing.
uint32_t byte_code_point(uint8_t byte);

// Reads a PSF1 font with a Unicode table; on failure returns false and sets
// `error`.
bool psf_font_read(const std::string& path, PsfFont& font, std::string& error);
