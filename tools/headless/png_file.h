// The machine's frame buffer saved as a PNG image.
#pragma once

#include <cstdint>
#include <string>

// Writes the 256 x 256 frame buffer (blue, green, red, alpha bytes per
// pixel) as an 8-bit RGBA PNG. False when the file cannot be written.
bool write_frame_png(const std::string& path, const uint8_t* frame_buffer);
