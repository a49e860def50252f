// The display: 256 lines of 32 bytes at 0xE000, bit 7 leftmost, a set bit
// black. Each pixel becomes four bytes (blue, green, red, alpha) of the
// frame buffer, which the host shows as a little-endian ARGB image.
#include <cstring>

#include "machine/machine.h"

namespace {

constexpr uint8_t kBlackPixel[4] = {0, 0, 0, 255};
constexpr uint8_t kWhitePixel[4] = {255, 255, 255, 255};

}  // namespace

void video_convert() {
  const uint8_t* display = machine.memory + kDisplayStart;
  uint8_t* pixel = machine.frame_buffer;
  for (uint32_t i = 0; i < kDisplaySize; ++i) {
    const uint8_t byte = display[i];
    for (int bit = 7; bit >= 0; --bit, pixel += 4)
      std::memcpy(pixel, (byte >> bit) & 1 ? kBlackPixel : kWhitePixel, 4);
  }
}
