#include "host/text.h"

#include "host/host_shell.h"

void draw_text(int x, int y, const char* text) {
  if (host.renderer == nullptr || text[0] == '\0') return;
  for (const char* p = text; *p != '\0'; ++p, x += kGlyphWidth) {
    const auto c = static_cast<unsigned char>(*p);
    const SDL_Rect glyph{(c % 16) * kGlyphWidth, (c / 16) * kGlyphHeight, kGlyphWidth, kGlyphHeight};
    const SDL_Rect place{x, y, kGlyphWidth, kGlyphHeight};
    SDL_RenderCopy(host.renderer, host.font, &glyph, &place);
  }
}
