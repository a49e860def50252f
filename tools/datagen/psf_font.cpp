#include "tools/datagen/psf_font.h"

#include <fstream>
#include <iterator>

namespace {

constexpr uint8_t kMagic0 = 0x36, kMagic1 = 0x04;
constexpr uint8_t kMode512 = 0x01, kModeHasTable = 0x02;
constexpr uint16_t kSeparator = 0xFFFF, kSequenceStart = 0xFFFE;

}  // namespace

const uint8_t* PsfFont::rows(uint32_t code) const {
  const auto found = by_code.find(code);
  return found == by_code.end() ? nullptr : glyphs.data() + found->second * height;
}

uint32_t byte_code_point(uint8_t byte) {
  switch (byte) {
    case 0x18: return 0x2191;
    case 0x19: return 0x2193;
    case 0x1A: return 0x2192;
    case 0x1B: return 0x2190;
    default: break;
  }
  const bool printable = (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
  return printable ? byte : 0;
}

bool psf_font_read(const std::string& path, PsfFont& font, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), {});
  if (data.size() < 4 || data[0] != kMagic0 || data[1] != kMagic1) {
    error = path + ": not a PSF1 font";
    return false;
  }
  const uint8_t mode = data[2];
  font.height = data[3];
  const size_t count = (mode & kMode512) ? 512 : 256;
  const size_t table_start = 4 + count * font.height;
  if (!(mode & kModeHasTable) || data.size() < table_start) {
    error = path + ": truncated, or without a Unicode table";
    return false;
  }
  font.glyphs.assign(data.begin() + 4, data.begin() + table_start);
  font.by_code.clear();
  // Per glyph: 16-bit little-endian code points up to a separator; a
  // sequence marker starts combined sequences, which are not single characters.
  size_t p = table_start;
  auto next = [&]() -> uint32_t {
    if (p + 2 > data.size()) return kSeparator;
    const uint32_t value = data[p] | data[p + 1] << 8;
    p += 2;
    return value;
  };
  for (size_t glyph = 0; glyph < count && p < data.size(); ++glyph) {
    bool in_sequence = false;
    for (uint32_t code = next(); code != kSeparator; code = next()) {
      if (code == kSequenceStart) in_sequence = true;
      if (!in_sequence) font.by_code.emplace(code, static_cast<int>(glyph));
    }
  }
  return true;
}
