// The emulator's own keyboard commands: Alt commands, the tape menu, the
// record prompt and Escape. Everything is read from the keyboard state array
// compared with its copy from the previous frame; choosing and closing happen
// on key releases, so the key that closes a menu never reaches the emulated
// machine as a press.
#pragma once

#include <cstdint>

#include "host/tape_list.h"

// One frame's view of the host keyboard, indexed by SDL scancode.
struct KeyboardFrame {
  const uint8_t* now;
  const uint8_t* previous;  // the state at the end of the previous frame
  int count;
};

struct HostUi {
  bool running;
  bool alt_held;
  bool key_picture_visible;
  bool tape_menu_open;
  bool record_prompt_open;
  TapeList tapes;
  int32_t current_tape;  // the entry whose file the tape buffer holds; 0 while recording
};

// Acts on this frame's key edges; may load, play, record or stop the tape,
// load or save the snapshot, load "data/dev.bin" or reset the machine.
void input_handle(const KeyboardFrame& keys, HostUi& ui);

// Reads the file of tape list entry `index` into the tape buffer (without
// playing it) and makes it the current tape.
void input_load_tape(HostUi& ui, int index);

// The emulated keyboard is fed only while no emulator command is in progress.
bool input_owns_keyboard(const HostUi& ui);

// At exit: a recording still in progress is written out, never lost.
void input_finish_recording();
