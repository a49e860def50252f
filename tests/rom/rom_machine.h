// The Vorn with its system ROM, driven frame by frame the way the window
// program drives it: host keys go through keys_update after each frame, and
// the speaker samples of every frame are kept. Runs in the folder that holds
// data/ (vorn.bin, vorn.sym, keyboard.txt, dev.bin, demo.raw). The machine is
// process-wide, so only one RomMachine may exist at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "tools/headless/options.h"

class RomMachine {
 public:
  RomMachine();  // boots the ROM and runs until its prompt is up
  ~RomMachine();
  RomMachine(const RomMachine&) = delete;
  RomMachine& operator=(const RomMachine&) = delete;

  void run(uint32_t frames);
  // Types text with the machine's layout ("\n" is RETURN) and runs until the
  // last key is up, plus `settle` frames.
  void type(const std::string& text, uint32_t settle = 10);
  void press(int scancode);
  void release(int scancode);
  // Holds a key (with an optional modifier) for `frames` frames, then lets go.
  void hold(int scancode, uint32_t frames, int modifier = -1);

  // The screen read back as text through the ROM's own character set: 32
  // rows, trailing spaces removed, '?' for a cell that is no character.
  std::vector<std::string> screen() const;
  bool screen_shows(const std::string& text) const;
  // The row of the lowest prompt, "> " included.
  std::string last_prompt_row() const;

  uint8_t peek(uint16_t address) const { return machine.memory[address]; }
  void poke(uint16_t address, uint8_t value) { machine.memory[address] = value; }

  std::vector<uint8_t> sound;  // speaker samples, 882 a frame, of every frame run
  uint32_t frame() const { return frame_; }

 private:
  std::vector<Action> pending_;
  std::vector<uint8_t> keys_, previous_;
  std::vector<uint32_t> hold_counters_;
  uint32_t frame_ = 0;
};

// An address from the ROM's symbol file data/vorn.sym.
uint16_t rom_symbol(const std::string& name);
