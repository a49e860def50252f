// bare_loop: the least an SDL program can do to show what vorn shows, the
// yardstick for vorn's own cost. It opens the same full-screen window with a
// 640 x 480 canvas and presents a 256 x 256 picture in the same place 50
// times a second, sleeping between frames, until Escape or a quit request.
#include <SDL.h>

#include <cstdint>
#include <vector>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window;
  SDL_Renderer* renderer;
  if (SDL_CreateWindowAndRenderer(0, 0, SDL_WINDOW_FULLSCREEN_DESKTOP, &window, &renderer) != 0) return 1;
  SDL_RenderSetLogicalSize(renderer, 640, 480);
  SDL_Texture* picture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, 256, 256);
  const std::vector<uint32_t> pixels(256 * 256, 0xFF000000);
  SDL_UpdateTexture(picture, nullptr, pixels.data(), 256 * 4);
  const SDL_Rect where{20, 15, 600, 450};

  uint32_t last = 0;
  for (bool running = true; running;) {
    const uint32_t now = SDL_GetTicks();
    if (now < last + 20) {
      SDL_Delay(last + 20 - now);
      continue;
    }
    last = now;
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) running = false;
    if (SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE]) running = false;
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, picture, nullptr, &where);
    SDL_RenderPresent(renderer);
  }
  SDL_Quit();
  return 0;
}
