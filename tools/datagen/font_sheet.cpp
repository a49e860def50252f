// font_sheet: makes the emulator's text font "font.bmp" from a PSF1 console
// font: 256 cells of 9 x 17 pixels in 16 columns, the cell of byte value c at
// ((c mod 16) * 9, (c div 16) * 17), black glyphs on white. Byte values are
// Latin-1 characters, with arrows at 0x18 to 0x1B (see byte_code_point).
//
// The build uses Uni2-Fixed16 of Debian's console-setup-linux package, drawn
// from the X "misc-fixed" fonts, which are in the public domain ("All console
// fonts are public domain by nature", /usr/share/doc/console-setup-linux/copyright).
//
//   font_sheet FONT.psf OUTPUT.bmp
#include <cstdio>

#include "tools/datagen/image.h"
#include "tools/datagen/psf_font.h"

namespace {

constexpr int kCellWidth = 9, kCellHeight = 17;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: font_sheet FONT.psf OUTPUT.bmp\n");
    return 2;
  }
  PsfFont font;
  std::string error;
  if (!psf_font_read(argv[1], font, error)) {
    std::fprintf(stderr, "font_sheet: %s\n", error.c_str());
    return 1;
  }
  if (font.height > kCellHeight) {
    std::fprintf(stderr, "font_sheet: %s: glyphs of %d rows do not fit a cell\n", argv[1], font.height);
    return 1;
  }
  Image sheet(16 * kCellWidth, 16 * kCellHeight, {255, 255, 255});
  for (int c = 0; c < 256; ++c) {
    const uint32_t code = byte_code_point(static_cast<uint8_t>(c));
    const uint8_t* rows = code != 0 ? font.rows(code) : nullptr;
    if (rows != nullptr)
      sheet.glyph((c % 16) * kCellWidth, (c / 16) * kCellHeight, rows, font.height, 1, {0, 0, 0});
  }
  if (!image_save_bmp(sheet, argv[2], error)) {
    std::fprintf(stderr, "font_sheet: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
