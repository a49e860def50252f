#include "tests/rom/rom_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "machine/scancodes.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

constexpr int kRows = 32;
constexpr int kColumns = 32;
constexpr int kFirstCode = 32;
constexpr int kGlyphs = 96;

const std::map<std::string, uint16_t>& symbols() {
  static const std::map<std::string, uint16_t> table = [] {
    std::map<std::string, uint16_t> result;
    std::ifstream in("data/vorn.sym");
    std::string line;
    while (std::getline(in, line)) {  // "name  EQU 0XXXXH"
      std::istringstream fields(line);
      std::string name, equ, value;
      if (fields >> name >> equ >> value && equ == "EQU" && value.size() > 1)
        result[name] = static_cast<uint16_t>(std::stoul(value.substr(0, value.size() - 1), nullptr, 16));
    }
    return result;
  }();
  return table;
}

}  // namespace

uint16_t rom_symbol(const std::string& name) {
  const auto found = symbols().find(name);
  EXPECT_NE(found, symbols().end()) << "no symbol " << name << " in data/vorn.sym";
  return found == symbols().end() ? 0 : found->second;
}

RomMachine::RomMachine()
    : keys_(kScancodeCount), previous_(kScancodeCount), hold_counters_(kScancodeCount) {
  EXPECT_EQ(machine_init(), 0) << "data/vorn.bin missing: run from the dist folder";
  run(10);
}

RomMachine::~RomMachine() { machine_free(); }

void RomMachine::run(uint32_t frames) {
  for (uint32_t i = 0; i < frames; ++i) {
    ++frame_;
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Action& a, const Action& b) { return a.frame < b.frame; });
    while (!pending_.empty() && pending_.front().frame <= frame_) {
      const Action& action = pending_.front();
      keys_[action.scancode] = action.kind == ActionKind::KeyDown;
      pending_.erase(pending_.begin());
    }
    machine_frame();
    keys_update({keys_.data(), previous_.data(), hold_counters_.data(), kScancodeCount});
    previous_ = keys_;
    sound.insert(sound.end(), machine.speaker, machine.speaker + kSamplesPerFrame);
  }
}

void RomMachine::type(const std::string& text, uint32_t settle) {
  std::vector<KeyLegend> layout;
  std::string error;
  ASSERT_TRUE(keyboard_layout_read("data/keyboard.txt", layout, error)) << error;
  std::vector<Action> actions{{frame_ + 1, ActionKind::Type, -1, text, 0}};
  ASSERT_TRUE(expand_typing(layout, actions, error)) << error;
  uint32_t last = frame_;
  for (const Action& action : actions) last = std::max(last, action.frame);
  pending_.insert(pending_.end(), actions.begin(), actions.end());
  run(last - frame_ + settle);
}

void RomMachine::press(int scancode) { keys_[scancode] = 1; }
void RomMachine::release(int scancode) { keys_[scancode] = 0; }

void RomMachine::hold(int scancode, uint32_t frames, int modifier) {
  if (modifier >= 0) press(modifier);
  press(scancode);
  run(frames);
  release(scancode);
  if (modifier >= 0) release(modifier);
}

std::vector<std::string> RomMachine::screen() const {
  const uint8_t* font = machine.memory + rom_symbol("font");
  std::vector<std::string> rows;
  for (int row = 0; row < kRows; ++row) {
    std::string text;
    for (int column = 0; column < kColumns; ++column) {
      const uint8_t* cell = machine.memory + kDisplayStart + row * 256 + column;
      char shown = '?';
      // A cell under the blinking cursor is the character inverted.
      for (const uint8_t invert : {0x00, 0xFF}) {
        for (int glyph = 0; glyph < kGlyphs && shown == '?'; ++glyph) {
          bool same = true;
          for (int line = 0; line < 8 && same; ++line)
            same = (cell[line * 32] ^ invert) == font[glyph * 8 + line];
          if (same) shown = static_cast<char>(kFirstCode + glyph);
        }
      }
      text += shown;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    rows.push_back(text);
  }
  return rows;
}

bool RomMachine::screen_shows(const std::string& text) const {
  for (const std::string& row : screen())
    if (row.find(text) != std::string::npos) return true;
  return false;
}

std::string RomMachine::last_prompt_row() const {
  const auto rows = screen();
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    if (row->rfind("> ", 0) == 0 || *row == ">") return *row;
  return {};
}
