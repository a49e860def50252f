// The display read back as text through the system ROM's character set: its
// 96 glyphs, for the codes 20h to 7Fh, lie at the ROM's symbol "font", eight
// bytes each, one byte per pixel line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 32 text rows of the display in `memory` (64 KiB), trailing spaces
// removed. A cell (row r, column c at E000h + 256 r + c, its lines 32 bytes
// apart) reads as the character whose glyph, or the glyph's inverse (the
// cursor blinks by inverting its cell), fills it; '?' when none does.
std::vector<std::string> screen_text(const uint8_t* memory, uint16_t font);

// True when one of those rows holds `text`.
bool screen_shows(const uint8_t* memory, uint16_t font, const std::string& text);

// The value of `name` in the assembler's symbol file ("name EQU 0XXXXH"
// lines), or -1 when the file cannot be read or does not name it.
int32_t read_symbol(const std::string& path, const std::string& name);
