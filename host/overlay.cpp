#include "host/overlay.h"

#include <cstdint>
#include <cstdio>

#include "host/host_shell.h"
#include "host/text.h"
#include "machine/machine.h"

namespace {

struct Colour {
  uint8_t r, g, b, a;
};

constexpr Colour kWhite{255, 255, 255, 255};
// Alpha 0, yet opaque: the renderer draws without blending.
constexpr Colour kOutlineRed{255, 0, 0, 0};

void fill(const SDL_Rect& rect, Colour colour) {
  SDL_SetRenderDrawColor(host.renderer, colour.r, colour.g, colour.b, colour.a);
  SDL_RenderFillRect(host.renderer, &rect);
}

void outline(const SDL_Rect& rect, Colour colour) {
  SDL_SetRenderDrawColor(host.renderer, colour.r, colour.g, colour.b, colour.a);
  SDL_RenderDrawRect(host.renderer, &rect);
}

// A white box with a red outline 2 pixels inside its edge.
void draw_box(const SDL_Rect& box) {
  fill(box, kWhite);
  outline({box.x + 2, box.y + 2, box.w - 4, box.h - 4}, kOutlineRed);
}

void draw_key_picture() {
  if (!host.ui.key_picture_visible || host.key_picture == nullptr) return;
  const SDL_Rect where{20, 0, 600, 200};
  SDL_RenderCopy(host.renderer, host.key_picture, nullptr, &where);
}

// The tape's progress across the top of the canvas: red while recording,
// blue while playing.
void draw_tape_bar() {
  const uint32_t state = machine.tape.state;
  if (state != TAPE_PLAYING && state != TAPE_RECORDING) return;
  const bool recording = state == TAPE_RECORDING;
  fill({20, 1, 600, 5}, recording ? Colour{128, 0, 0, 255} : Colour{0, 0, 128, 255});
  const auto width = static_cast<int>(machine.tape.position * 600 / kTapeSamples);
  fill({20, 1, width, 5}, recording ? Colour{255, 128, 128, 255} : Colour{128, 128, 255, 255});
}

void draw_tape_menu() {
  const TapeList& tapes = host.ui.tapes;
  const int n = tapes.count;
  const int y = (438 - kGlyphHeight * n) / 2;
  draw_box({195, y, 250, kGlyphHeight * n + 42});
  draw_text(199, y + 4, "Tapes:");
  char line[260];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%d:%s", i + 1, tapes.names[i]);
    draw_text(199, y + 21 + kGlyphHeight * i, line);
  }
  std::snprintf(line, sizeof line, "%d:%s", n + 1, "exit");
  draw_text(199, y + 21 + kGlyphHeight * n, line);
}

void draw_record_prompt() {
  draw_box({195, 210, 250, 59});
  draw_text(199, 214, "Record to default.raw ?");
  draw_text(199, 231, "1:yes");
  draw_text(199, 248, "2:no");
}

void draw_help_box() {
  draw_box({220, 185, 200, 110});
  static constexpr const char* kLines[] = {
      "VORN EMULATOR 0.3.0", "Alt-H:Toggle keys", "Alt-L:Play tape",
      "Alt-S:Record tape",   "Alt-X:Stop tape",   "Alt-R:Reset",
  };
  int y = 189;
  for (const char* line : kLines) {
    draw_text(224, y, line);
    y += kGlyphHeight;
  }
}

}  // namespace

void overlay_draw() {
  draw_key_picture();
  draw_tape_bar();
  if (host.ui.tape_menu_open)
    draw_tape_menu();
  else if (host.ui.record_prompt_open)
    draw_record_prompt();
  else if (host.ui.alt_held)
    draw_help_box();
}
