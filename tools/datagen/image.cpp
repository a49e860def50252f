#include "tools/datagen/image.h"

#include <SDL.h>

#include <algorithm>

Image::Image(int w, int h, Rgb background)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, background) {}

void Image::fill(int x, int y, int w, int h, Rgb colour) {
  const int left = std::max(x, 0), right = std::min(x + w, width);
  const int top = std::max(y, 0), bottom = std::min(y + h, height);
  for (int row = top; row < bottom; ++row)
    for (int column = left; column < right; ++column) pixels[row * width + column] = colour;
}

void Image::glyph(int x, int y, const uint8_t* rows, int glyph_height, int scale, Rgb ink) {
  for (int row = 0; row < glyph_height; ++row)
    for (int bit = 0; bit < 8; ++bit)
      if (rows[row] & (0x80 >> bit)) fill(x + bit * scale, y + row * scale, scale, scale, ink);
}

bool image_save_bmp(const Image& image, const std::string& path, std::string& error) {
  // RGB24 is the byte order r, g, b in memory, as Rgb is laid out.
  static_assert(sizeof(Rgb) == 3);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<Rgb*>(image.pixels.data()), image.width, image.height, 24, image.width * 3,
      SDL_PIXELFORMAT_RGB24);
  const bool saved = surface != nullptr && SDL_SaveBMP(surface, path.c_str()) == 0;
  if (!saved) error = path + ": " + SDL_GetError();
  SDL_FreeSurface(surface);
  return saved;
}
