// Everything the host front end owns for the life of the process: the SDL
// window, renderer, textures and audio device, the host keyboard arrays, the
// tape list and the user-interface state.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/input.h"

inline constexpr int kCanvasWidth = 640;
inline constexpr int kCanvasHeight = 480;
inline constexpr SDL_Rect kDisplayRect{20, 15, 600, 450};
inline constexpr uint32_t kFrameMilliseconds = 20;

struct HostShell {
  SDL_Window* window;
  SDL_Renderer* renderer;
  SDL_Texture* display;
  SDL_Texture* key_picture;  // null when "data/keys.bmp" did not load
  SDL_Texture* font;         // null when "data/font.bmp" did not load
  SDL_AudioDeviceID audio;
  uint32_t last_frame_tick;
  const uint8_t* keyboard_state;  // SDL's own array
  int keyboard_count;
  std::vector<uint8_t> previous_keyboard_state;  // allocated on the first frame
  std::vector<uint32_t> hold_counters;           // allocated on the first frame
  bool sound_was_active;
  HostUi ui;
};

extern HostShell host;
