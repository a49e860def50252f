#include "tests/rom/rom_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "machine/scancodes.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

uint16_t rom_symbol(const std::string& name) {
  static const std::map<std::string, uint16_t> symbols = [] {
    std::map<std::string, uint16_t> result;
    std::ifstream in("data/vorn.sym");
    char name[80];
    unsigned value;
    for (std::string line; std::getline(in, line);)  // "name  EQU 0XXXXH"
      if (std::sscanf(line.c_str(), "%79s EQU %xH", name, &value) == 2) result[name] = value;
    return result;
  }();
  const auto found = symbols.find(name);
  EXPECT_NE(found, symbols.end()) << "no symbol " << name << " in data/vorn.sym";
  return found == symbols.end() ? 0 : found->second;
}

RomMachine::RomMachine()
    : keys_(kScancodeCount), previous_(kScancodeCount), hold_counters_(kScancodeCount) {
  EXPECT_EQ(machine_init(), 0) << "data/vorn.bin missing: run from the dist folder";
  run(10);
}

void RomMachine::run(uint32_t frames) {
  for (uint32_t i = 0; i < frames; ++i) {
    ++frame_;
    while (!pending_.empty() && pending_.front().frame <= frame_) {
      keys_[pending_.front().scancode] = pending_.front().kind == ActionKind::KeyDown;
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
  pending_ = actions;  // in frame order; the last lets the last key up
  run((actions.empty() ? frame_ : actions.back().frame) - frame_ + settle);
}

void RomMachine::hold(int scancode, uint32_t frames) {
  keys_[scancode] = 1;
  run(frames);
  keys_[scancode] = 0;
  run(3);
}

std::vector<std::string> RomMachine::screen() const {
  const uint8_t* font = machine.memory + rom_symbol("font");  // 96 glyphs from ' '
  std::vector<std::string> rows(32);
  for (int cell = 0; cell < 32 * 32; ++cell) {
    const uint8_t* pixels = machine.memory + kDisplayStart + cell / 32 * 256 + cell % 32;
    char shown = '?';
    // Glyphs 96 and up: a cell under the blinking cursor is the character inverted.
    for (int glyph = 0; glyph < 2 * 96 && shown == '?'; ++glyph) {
      bool same = true;
      for (int line = 0; line < 8 && same; ++line)
        same = (pixels[line * 32] ^ (glyph < 96 ? 0 : 0xFF)) == font[glyph % 96 * 8 + line];
      if (same) shown = static_cast<char>(' ' + glyph % 96);
    }
    rows[cell / 32] += shown;
  }
  for (std::string& row : rows) row.erase(row.find_last_not_of(' ') + 1);
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
    if (row->rfind(">", 0) == 0) return *row;
  return {};
}

std::string RomMachine::run_until(const std::vector<std::string>& texts, uint32_t frames) {
  for (uint32_t done = 0; done < frames; done += 25) {
    run(25);
    for (const std::string& text : texts)
      if (screen_shows(text)) return text;
  }
  return "";
}

// Frames enough to save `length` bytes: 1.5 s of leaders, at most 1,300
// T-states a bit, and slack.
static uint32_t tape_frames(uint32_t length) {
  return 150 + static_cast<uint32_t>(uint64_t{length} * 8 * 1300 / kFrameTStates);
}

bool save_block(RomMachine& vorn, const std::string& name, uint16_t start, uint32_t length,
                bool append) {
  if (!append) tape_record();
  char command[64];
  std::snprintf(command, sizeof command, "cls\ns \"%s\" %x %x\n", name.c_str(), start, length);
  vorn.type(command, 0);
  return vorn.run_until({"Saved"}, tape_frames(length)) == "Saved";
}

std::string load_block(RomMachine& vorn, const std::string& name, uint32_t length) {
  vorn.type("cls\nl \"" + name + "\"\n");
  tape_play();
  const std::string shown = vorn.run_until({"Loaded", "checksum error"}, tape_frames(length) * 2);
  vorn.run(10);  // until the error beep, which holds the keyboard off, is over
  return shown;
}

uint64_t first_signal() {
  uint64_t first = 0;
  while (first < machine.tape.position && machine.tape.buffer[first] == 127) ++first;
  return first;
}

uint64_t last_edge() {
  uint64_t edge = 0;
  for (uint64_t i = 1; i < machine.tape.position; ++i)
    if (machine.tape.buffer[i] != machine.tape.buffer[i - 1] && machine.tape.buffer[i] != 127 &&
        machine.tape.buffer[i - 1] != 127)
      edge = i;
  return edge;
}
