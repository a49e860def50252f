#include "tools/headless/key_names.h"

#include "machine/scancodes.h"

namespace {

struct NamedKey {
  std::string_view name;
  int scancode;
};

constexpr NamedKey kNamedKeys[] = {
    {"RETURN", SCANCODE_RETURN}, {"ESCAPE", SCANCODE_ESCAPE}, {"BACKSPACE", SCANCODE_BACKSPACE},
    {"TAB", SCANCODE_TAB},       {"SPACE", SCANCODE_SPACE},   {"LCTRL", SCANCODE_LCTRL},
    {"LSHIFT", SCANCODE_LSHIFT}, {"LALT", SCANCODE_LALT},     {"RCTRL", SCANCODE_RCTRL},
    {"RSHIFT", SCANCODE_RSHIFT}, {"RALT", SCANCODE_RALT},
};

}  // namespace

int scancode_from_name(std::string_view name) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'A' && c <= 'Z') return SCANCODE_A + (c - 'A');
    if (c == '0') return SCANCODE_0;
    if (c >= '1' && c <= '9') return SCANCODE_1 + (c - '1');
  }
  for (const NamedKey& key : kNamedKeys)
    if (key.name == name) return key.scancode;
  return -1;
}

std::string supported_key_names() {
  std::string names = "A..Z 0..9";
  for (const NamedKey& key : kNamedKeys) (names += ' ') += key.name;
  return names;
}
