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
  ~RomMachine() { machine_free(); }
  RomMachine(const RomMachine&) = delete;
  RomMachine& operator=(const RomMachine&) = delete;

  void run(uint32_t frames);
  // Types text with the machine's layout ("\n" is RETURN, the editing keys'
  // codes below go with Ctrl) and runs until the last key is up, plus `settle`.
  void type(const std::string& text, uint32_t settle = 10);
  // Holds a host key for `frames` frames, lets go and runs 3 frames more.
  void hold(int scancode, uint32_t frames);

  // The screen read back as text through the ROM's own character set: 32
  // rows, trailing spaces removed, '?' for a cell that is no character.
  std::vector<std::string> screen() const;
  bool screen_shows(const std::string& text) const;
  std::string last_prompt_row() const;  // the lowest row that starts with ">"
  uint8_t peek(uint16_t address) const { return machine.memory[address]; }

  // Runs in steps until one of `texts` shows (returned) or `frames` pass ("").
  std::string run_until(const std::vector<std::string>& texts, uint32_t frames);

  std::vector<uint8_t> sound;  // speaker samples, 882 a frame, of every frame run

 private:
  std::vector<Action> pending_;
  std::vector<uint8_t> keys_, previous_;
  std::vector<uint32_t> hold_counters_;
  uint32_t frame_ = 0;
};

// The editing keys' codes, which type() gives with Ctrl.
inline const std::string kBreak = "\x03", kDel = "\x08", kLeft = "\x11", kRight = "\x12",
                         kUp = "\x13";

// An address from the ROM's symbol file data/vorn.sym.
uint16_t rom_symbol(const std::string& name);

// Clears the screen and types S while the deck records (appending to the
// recording when `append`); true once "Saved" shows. tape_stop() then writes
// data/default.raw in the working folder.
bool save_block(RomMachine& vorn, const std::string& name, uint16_t start, uint32_t length,
                bool append = false);
// Clears the screen, types L with the name and plays the deck from
// its start: "Loaded", "checksum error" or "" for neither within the time.
std::string load_block(RomMachine& vorn, const std::string& name, uint32_t length);
// The sample indexes of the recording's first level and last change of level.
uint64_t first_signal();
uint64_t last_edge();
