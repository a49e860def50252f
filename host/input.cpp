#include "host/input.h"

#include <SDL_scancode.h>

#include <cstdio>

#include "machine/machine.h"

namespace {

bool down(const KeyboardFrame& keys, const uint8_t* state, int scancode) {
  return scancode < keys.count && state[scancode] != 0;
}

bool pressed(const KeyboardFrame& keys, int scancode) {
  return down(keys, keys.now, scancode) && !down(keys, keys.previous, scancode);
}

bool released(const KeyboardFrame& keys, int scancode) {
  return !down(keys, keys.now, scancode) && down(keys, keys.previous, scancode);
}

// Menu entry i answers to the digit key i + 1; the digit scancodes are consecutive.
int entry_key(int index) { return SDL_SCANCODE_1 + index; }

// A chosen tape is played from its start. A recording in progress is first
// written out and so becomes the tape of entry 0; the buffer is reloaded from
// the chosen file unless it already holds that tape.
void choose_tape(HostUi& ui, int index) {
  if (machine.tape.state == TAPE_RECORDING) {
    tape_stop();
    ui.current_tape = 0;
  }
  if (index != ui.current_tape) input_load_tape(ui, index);
  tape_play();
  ui.tape_menu_open = false;
}

void handle_tape_menu(const KeyboardFrame& keys, HostUi& ui) {
  for (int i = 0; i < ui.tapes.count; ++i)
    if (released(keys, entry_key(i))) choose_tape(ui, i);
  if (released(keys, entry_key(ui.tapes.count)) || released(keys, SDL_SCANCODE_ESCAPE))
    ui.tape_menu_open = false;
}

void handle_record_prompt(const KeyboardFrame& keys, HostUi& ui) {
  if (released(keys, SDL_SCANCODE_1)) {
    tape_record();
    // The buffer now holds the recording, which is written to "default.raw".
    ui.current_tape = 0;
    ui.record_prompt_open = false;
  }
  if (released(keys, SDL_SCANCODE_2) || released(keys, SDL_SCANCODE_ESCAPE))
    ui.record_prompt_open = false;
}

// The first Alt command whose key went down this frame, and only that one.
void handle_alt_command(const KeyboardFrame& keys, HostUi& ui) {
  if (pressed(keys, SDL_SCANCODE_H))
    ui.key_picture_visible = !ui.key_picture_visible;
  else if (pressed(keys, SDL_SCANCODE_S))
    ui.record_prompt_open = true;
  else if (pressed(keys, SDL_SCANCODE_L))
    ui.tape_menu_open = true;
  else if (pressed(keys, SDL_SCANCODE_X))
    tape_stop();
  else if (pressed(keys, SDL_SCANCODE_1))
    state_load();
  else if (pressed(keys, SDL_SCANCODE_2))
    state_save();
  else if (pressed(keys, SDL_SCANCODE_5))
    machine_load_dev_image();
  else if (pressed(keys, SDL_SCANCODE_R))
    machine_reset();
}

}  // namespace

void input_handle(const KeyboardFrame& keys, HostUi& ui) {
  ui.alt_held = down(keys, keys.now, SDL_SCANCODE_LALT) || down(keys, keys.now, SDL_SCANCODE_RALT);
  // Escape quits at once unless a menu is open; the open menu closes on its release.
  if (pressed(keys, SDL_SCANCODE_ESCAPE) && !ui.tape_menu_open && !ui.record_prompt_open) {
    ui.running = false;
    return;
  }
  if (ui.tape_menu_open)
    handle_tape_menu(keys, ui);
  else if (ui.record_prompt_open)
    handle_record_prompt(keys, ui);
  else if (ui.alt_held)
    handle_alt_command(keys, ui);
}

void input_load_tape(HostUi& ui, int index) {
  char path[6 + kMaxNameLength + 1];
  std::snprintf(path, sizeof path, "data/%s", ui.tapes.names[index]);
  tape_load(path);
  ui.current_tape = index;
}

bool input_owns_keyboard(const HostUi& ui) {
  return ui.alt_held || ui.tape_menu_open || ui.record_prompt_open;
}

void input_finish_recording() {
  if (machine.tape.state == TAPE_RECORDING) tape_stop();
}
