// The display: 256 lines of 32 bytes at 0xE000, bit 7 leftmost, a set bit
// black. Each pixel becomes four bytes (blue, green, red, alpha) of the
// frame buffer, which the host shows as a little-endian ARGB image.
#include <array>
#include <cstring>

#include "machine/machine.h"

namespace {

constexpr int kPixelBytes = 4;
constexpr uint8_t kBlackPixel[kPixelBytes] = {0, 0, 0, 255};
constexpr uint8_t kWhitePixel[kPixelBytes] = {255, 255, 255, 255};

// The eight frame-buffer pixels of each display byte value, so that the
// conversion is one copy per display byte.
using EightPixels = std::array<uint8_t, 8 * kPixelBytes>;
constexpr std::array<EightPixels, 256> kPixelsOfByte = [] {
  std::array<EightPixels, 256> table{};
  for (int value = 0; value < 256; ++value)
    for (int x = 0; x < 8; ++x) {
      const uint8_t* pixel = (value >> (7 - x)) & 1 ? kBlackPixel : kWhitePixel;
      for (int b = 0; b < kPixelBytes; ++b) table[value][x * kPixelBytes + b] = pixel[b];
    }
  return table;
}();

}  // namespace

void video_convert() {
  const uint8_t* display = machine.memory + kDisplayStart;
  uint8_t* pixels = machine.frame_buffer;
  for (uint32_t i = 0; i < kDisplaySize; ++i, pixels += sizeof(EightPixels))
    std::memcpy(pixels, kPixelsOfByte[display[i]].data(), sizeof(EightPixels));
}
