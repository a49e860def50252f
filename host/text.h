// Text in the 9 x 17 bitmap font of "data/font.bmp": 256 glyphs in 16
// columns, the glyph of byte c at ((c mod 16) * 9, (c div 16) * 17).
#pragma once

inline constexpr int kGlyphWidth = 9;
inline constexpr int kGlyphHeight = 17;

// Draws a NUL-terminated byte string at canvas position (x, y), one glyph
// after another, without wrapping or clipping. Invisible without a font.
void draw_text(int x, int y, const char* text);
