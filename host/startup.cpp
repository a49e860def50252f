// Start-up and shutdown of the host: SDL, the window and its textures, the
// audio device, the tape list and the machine.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "host/config.h"
#include "host/host_shell.h"
#include "host/startup.h"
#include "machine/machine.h"

HostShell host;

namespace {

// A missing or unreadable bitmap gives no texture, which is not an error.
SDL_Texture* load_texture(const char* path) {
  SDL_Surface* surface = SDL_LoadBMP_RW(SDL_RWFromFile(path, "rb"), 1);
  if (surface == nullptr) return nullptr;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(host.renderer, surface);
  SDL_FreeSurface(surface);
  return texture;
}

bool open_window() {
  if (SDL_CreateWindowAndRenderer(0, 0, SDL_WINDOW_FULLSCREEN_DESKTOP, &host.window,
                                  &host.renderer) != 0)
    return false;
  SDL_RenderSetLogicalSize(host.renderer, kCanvasWidth, kCanvasHeight);
  host.display = SDL_CreateTexture(host.renderer, SDL_PIXELFORMAT_ARGB8888,
                                   SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  host.key_picture = load_texture("data/keys.bmp");
  host.font = load_texture("data/font.bmp");
  return true;
}

// Unsigned 8-bit mono at the machine's sample rate, fed through the queue.
// The device starts paused.
bool open_audio() {
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  wanted.samples = 256;
  SDL_AudioSpec obtained;
  host.audio = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  return host.audio != 0;
}

void read_tape_list() {
  tape_list_reset(host.ui.tapes);
  if (std::FILE* file = std::fopen("data/vorn.cfg", "r")) {
    config_read(file, host.ui.tapes);
    std::fclose(file);
  }
}

}  // namespace

bool host_start() {
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) != 0) return false;
  std::atexit(SDL_Quit);
  if (!open_window() || !open_audio()) return false;
  read_tape_list();
  host.last_frame_tick = 0;
  host.ui.running = true;
  if (machine_init() != 0) return false;
  input_load_tape(host.ui, 0);
  return true;
}

void host_shut_down() {
  host.previous_keyboard_state = {};
  host.hold_counters = {};
  input_finish_recording();
  machine_free();
  SDL_CloseAudioDevice(host.audio);
}

