#include "tools/headless/typing.h"

#include "tools/headless/key_names.h"

namespace {

constexpr uint8_t kReturnCode = 0x0D;

struct Stroke {
  int modifier = -1;  // scancode of Shift or Ctrl, or -1
  int key = -1;
};

int modifier_scancode(const std::vector<KeyLegend>& layout, const std::string& label) {
  for (const KeyLegend& key : layout)
    if (key.is_modifier && key.plain.label == label) return scancode_from_name(key.host_key);
  return -1;
}

bool find_stroke(const std::vector<KeyLegend>& layout, uint8_t code, Stroke& stroke) {
  const KeySymbol KeyLegend::*const layers[] = {&KeyLegend::plain, &KeyLegend::shift,
                                                &KeyLegend::ctrl};
  const char* const modifiers[] = {nullptr, "SHIFT", "CTRL"};
  for (int layer = 0; layer < 3; ++layer) {
    for (const KeyLegend& key : layout) {
      if (key.is_modifier || (key.*layers[layer]).code != code) continue;
      stroke.key = scancode_from_name(key.host_key);
      stroke.modifier = modifiers[layer] ? modifier_scancode(layout, modifiers[layer]) : -1;
      return stroke.key >= 0 && (modifiers[layer] == nullptr || stroke.modifier >= 0);
    }
  }
  return false;
}

std::string describe(char c) {
  if (c == '\n') return "\\n";
  if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) return std::string(1, c);
  return "byte " + std::to_string(static_cast<unsigned char>(c));
}

}  // namespace

bool expand_typing(const std::vector<KeyLegend>& layout, std::vector<Action>& actions,
                   std::string& error) {
  std::vector<Action> expanded;
  for (Action& action : actions) {
    if (action.kind != ActionKind::Type) {
      expanded.push_back(std::move(action));
      continue;
    }
    uint32_t frame = action.frame;
    for (const char c : action.text) {
      const uint8_t code = c == '\n' ? kReturnCode : static_cast<uint8_t>(c);
      Stroke stroke;
      if (code == 0 || !find_stroke(layout, code, stroke)) {
        error = "--type: no key of the layout types '" + describe(c) + "'";
        return false;
      }
      const uint32_t up = frame + kTypeHoldFrames;
      if (stroke.modifier >= 0)
        expanded.push_back({frame, ActionKind::KeyDown, stroke.modifier, {}, action.order});
      expanded.push_back({frame, ActionKind::KeyDown, stroke.key, {}, action.order});
      expanded.push_back({up, ActionKind::KeyUp, stroke.key, {}, action.order});
      if (stroke.modifier >= 0)
        expanded.push_back({up, ActionKind::KeyUp, stroke.modifier, {}, action.order});
      frame = up + kTypeGapFrames;
    }
  }
  actions = std::move(expanded);
  return true;
}
