#include "tools/headless/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "machine/machine.h"

namespace {

// libpng reports errors by jumping back to the setjmp point, so nothing here
// changes after it.
bool encode(std::FILE* file, png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, kScreenWidth, kScreenHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool write_frame_png(const std::string& path, const uint8_t* frame_buffer) {
  std::vector<uint8_t> rgba(kFrameBufferSize);
  for (uint32_t i = 0; i < kFrameBufferSize; i += 4) {
    rgba[i] = frame_buffer[i + 2];
    rgba[i + 1] = frame_buffer[i + 1];
    rgba[i + 2] = frame_buffer[i];
    rgba[i + 3] = frame_buffer[i + 3];
  }
  std::vector<png_bytep> rows(kScreenHeight);
  for (uint32_t y = 0; y < kScreenHeight; ++y) rows[y] = rgba.data() + y * kFrameBufferPitch;

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool encoded = encode(file, rows.data());
  const bool closed = std::fclose(file) == 0;
  return encoded && closed;
}
