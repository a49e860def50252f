// A plain RGB picture for the data generators, saved as a 24-bit BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/psf_font.h"

struct Rgb {
  uint8_t r, g, b;
};

struct Image {
  int width, height;
  std::vector<Rgb> pixels;  // row by row, top row first

  Image(int w, int h, Rgb background);
  void fill(int x, int y, int w, int h, Rgb colour);  // clipped to the picture
  // Draws the set pixels of an 8-pixel-wide glyph, each as a scale x scale block.
  void glyph(int x, int y, const uint8_t* rows, int height, int scale, Rgb ink);
};

// Writes `image` as a BMP file through SDL; on failure returns false and sets `error`.
bool image_save_bmp(const Image& image, const std::string& path, std::string& error);
