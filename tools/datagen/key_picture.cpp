// key_picture: draws "keys.bmp", the picture of the Vorn keyboard that Alt+H
// shows over the display, from the keyboard layout file. The 40 keys stand
// in four staggered rows of ten, as on the machine's case; each cap carries
// its plain legend large in the middle, its shifted symbol small at the top
// left and its Ctrl function small at the bottom. The picture is 1200 x 400,
// twice the 600 x 200 it is shown at on the 640 x 480 canvas.
//
//   key_picture KEYBOARD.txt FONT.psf OUTPUT.bmp
#include <array>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/datagen/image.h"
#include "tools/datagen/psf_font.h"
#include "tools/keyboard_layout.h"

namespace {

constexpr int kWidth = 1200, kHeight = 400;
constexpr int kKeyWidth = 106, kKeyHeight = 90, kKeyPitchX = 114, kKeyPitchY = 98;
constexpr int kLeft = 14, kTop = 6;

// The keys on the case by their host keys, row by row, with each row's
// offset to the right.
struct CaseRow {
  int offset;
  std::array<const char*, 10> host_keys;
};
constexpr std::array<CaseRow, 4> kCase{{
    {0, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}},
    {18, {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"}},
    {30, {"A", "S", "D", "F", "G", "H", "J", "K", "L", "RETURN"}},
    {6, {"LSHIFT", "Z", "X", "C", "V", "B", "N", "M", "LCTRL", "SPACE"}},
}};

constexpr Rgb kBackground{24, 24, 30};
constexpr Rgb kCap{62, 64, 74}, kModifierCap{52, 70, 96};
constexpr Rgb kCapLight{104, 106, 120}, kCapShadow{34, 34, 42};
constexpr Rgb kPlainInk{250, 250, 250}, kShiftInk{255, 196, 64}, kCtrlInk{120, 196, 255};

void draw_label(Image& image, const PsfFont& font, int x, int y, const std::string& label,
                int scale, Rgb ink) {
  for (const char c : label) {
    const uint32_t code = byte_code_point(static_cast<uint8_t>(c));
    if (const uint8_t* rows = code != 0 ? font.rows(code) : nullptr)
      image.glyph(x, y, rows, font.height, scale, ink);
    x += 8 * scale;
  }
}

int label_width(const std::string& label, int scale) {
  return static_cast<int>(label.size()) * 8 * scale;
}

// The legends a cap shows. A letter shows its capital, as printed on keys, and
// a layer that gives what the plain key gives (SHIFT on SHIFT) adds nothing.
struct CapLegends {
  std::string plain, shift, ctrl;
};

CapLegends cap_legends(const KeyLegend& key) {
  CapLegends legends{key.plain.label, key.shift.label, key.ctrl.label};
  const std::string& plain = key.plain.label;
  const bool letter = plain.size() == 1 && std::islower(static_cast<unsigned char>(plain[0]));
  if (letter && key.shift.label.size() == 1 &&
      key.shift.label[0] == std::toupper(static_cast<unsigned char>(plain[0]))) {
    legends.plain = key.shift.label;
    legends.shift.clear();
  }
  if (legends.shift == plain) legends.shift.clear();
  if (legends.ctrl == plain) legends.ctrl.clear();
  return legends;
}

void draw_cap(Image& image, const PsfFont& font, int x, int y, const KeyLegend& key) {
  image.fill(x, y, kKeyWidth, kKeyHeight, kCapShadow);
  image.fill(x, y, kKeyWidth - 2, kKeyHeight - 5, kCapLight);
  image.fill(x + 2, y + 2, kKeyWidth - 4, kKeyHeight - 7, key.is_modifier ? kModifierCap : kCap);

  const CapLegends legends = cap_legends(key);
  // A single character is drawn twice the size of a word such as RETURN.
  const int scale = legends.plain.size() == 1 ? 2 : 1;
  draw_label(image, font, x + (kKeyWidth - label_width(legends.plain, scale)) / 2,
             y + (kKeyHeight - 5 - font.height * scale) / 2, legends.plain, scale, kPlainInk);
  draw_label(image, font, x + 8, y + 5, legends.shift, 1, kShiftInk);
  draw_label(image, font, x + (kKeyWidth - label_width(legends.ctrl, 1)) / 2,
             y + kKeyHeight - 7 - font.height, legends.ctrl, 1, kCtrlInk);
}

const KeyLegend* find_key(const std::vector<KeyLegend>& keys, const std::string& host_key) {
  for (const KeyLegend& key : keys)
    if (key.host_key == host_key) return &key;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: key_picture KEYBOARD.txt FONT.psf OUTPUT.bmp\n");
    return 2;
  }
  std::vector<KeyLegend> keys;
  PsfFont font;
  std::string error;
  if (!keyboard_layout_read(argv[1], keys, error) || !psf_font_read(argv[2], font, error)) {
    std::fprintf(stderr, "key_picture: %s\n", error.c_str());
    return 1;
  }
  Image image(kWidth, kHeight, kBackground);
  for (size_t row = 0; row < kCase.size(); ++row) {
    for (size_t column = 0; column < kCase[row].host_keys.size(); ++column) {
      const char* host_key = kCase[row].host_keys[column];
      const KeyLegend* key = find_key(keys, host_key);
      if (key == nullptr) {
        std::fprintf(stderr, "key_picture: %s: no key on host key %s\n", argv[1], host_key);
        return 1;
      }
      draw_cap(image, font, kLeft + kCase[row].offset + static_cast<int>(column) * kKeyPitchX,
               kTop + static_cast<int>(row) * kKeyPitchY, *key);
    }
  }
  if (!image_save_bmp(image, argv[3], error)) {
    std::fprintf(stderr, "key_picture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
