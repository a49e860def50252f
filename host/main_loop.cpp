#include "host/main_loop.h"

#include <algorithm>

#include "host/host_shell.h"
#include "host/overlay.h"
#include "host/sound.h"
#include "machine/machine.h"

namespace {

// Empties SDL's event queue, which also refreshes the keyboard state array.
// Only the quit event (window close, SIGINT, SIGTERM) matters; keys are read
// from the state array.
bool drain_events() {
  bool quit = false;
  SDL_Event event;
  while (SDL_PollEvent(&event))
    if (event.type == SDL_QUIT) quit = true;
  return quit;
}

void read_keyboard() {
  host.keyboard_state = SDL_GetKeyboardState(&host.keyboard_count);
  if (host.previous_keyboard_state.empty()) {
    host.previous_keyboard_state.assign(host.keyboard_count, 0);
    host.hold_counters.assign(host.keyboard_count, 0);
  }
}

void draw_display() {
  SDL_UpdateTexture(host.display, nullptr, machine.frame_buffer, kFrameBufferPitch);
  SDL_SetRenderDrawColor(host.renderer, 255, 255, 255, 255);
  SDL_RenderClear(host.renderer);
  SDL_RenderCopy(host.renderer, host.display, nullptr, &kDisplayRect);
}

}  // namespace

bool frame_run() {
  const uint32_t now = SDL_GetTicks();
  if (now < host.last_frame_tick + kFrameMilliseconds) return false;

  const bool quit_requested = drain_events();
  read_keyboard();
  const KeyboardFrame keys{host.keyboard_state, host.previous_keyboard_state.data(),
                           host.keyboard_count};
  input_handle(keys, host.ui);
  if (quit_requested) host.ui.running = false;

  host.last_frame_tick = now;
  host.sound_was_active = machine.sound_active != 0;
  machine_frame();
  if (!input_owns_keyboard(host.ui))
    keys_update({host.keyboard_state, host.previous_keyboard_state.data(), host.hold_counters.data(),
                 host.keyboard_count});
  std::copy_n(host.keyboard_state, host.keyboard_count, host.previous_keyboard_state.begin());
  sound_queue_frame();

  draw_display();
  overlay_draw();
  SDL_RenderPresent(host.renderer);
  return true;
}

void frame_wait() {
  const uint32_t due = host.last_frame_tick + kFrameMilliseconds;
  const uint32_t now = SDL_GetTicks();
  if (now < due) SDL_Delay(due - now);
}

void main_loop() {
  while (host.ui.running)
    if (!frame_run()) frame_wait();
}
