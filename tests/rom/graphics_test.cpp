// The ROM's drawing routines, called directly: plot, point, draw_line and
// draw_circle. The display is read back pixel by pixel and held against the
// rules the routines promise and against host models of their exact integer
// algorithms. The T-states of the cases with speed goals are printed.
#include <array>
#include <cmath>
#include <random>

#include "tests/machine/vorn_machine.h"

namespace {

constexpr uint16_t kScreen = 0xE000, kStackTop = 0x8000, kReturn = 0x7000, kWork = 0x40C0;
using Image = std::vector<uint8_t>;  // 256 x 256 pixels, 1 for ink

bool on_display(int64_t x, int64_t y) { return x >= 0 && x < 256 && y >= 0 && y < 256; }
void put(Image& image, int64_t x, int64_t y) {
  if (on_display(x, y)) image[y * 256 + x] = 1;
}
int at(const Image& image, int64_t x, int64_t y) { return on_display(x, y) && image[y * 256 + x]; }
// The pixels moved by (sx, sy), those moved off the display dropped.
Image moved(const Image& image, int sx, int sy) {
  Image out(65536);
  for (int p = 0; p < 65536; ++p)
    if (image[p]) put(out, p % 256 + sx, p / 256 + sy);
  return out;
}
Image shown() {
  Image image(65536);
  for (int i = 0; i < 65536; ++i) image[i] = machine.memory[kScreen + i / 8] >> (7 - i % 8) & 1;
  return image;
}
// The numbers as text, for messages.
std::string named(std::initializer_list<int> numbers) {
  std::string text;
  for (const int n : numbers) text.append(std::to_string(n)).append(" ");
  return text;
}
// "" when the images agree, else the first pixels where they differ.
std::string differences(const Image& got, const Image& want) {
  std::string text;
  for (int i = 0; i < 65536 && text.size() < 60; ++i)
    if (got[i] != want[i]) text += named({i % 256, i / 256}) + "/ ";
  return text;
}

// From the left end (the top one of a vertical line, whose pixels are the
// same from either end), step k of the major axis puts the pixel at minor
// offset (e * k + d / 2) / d, rounded down.
Image model_line(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  if (x2 < x1 || (x2 == x1 && y2 < y1)) std::swap(x1, x2), std::swap(y1, y2);
  const int64_t dx = x2 - x1, dy = std::abs(y2 - y1), sy = y2 < y1 ? -1 : 1;
  const int64_t d = std::max(dx, dy), e = std::min(dx, dy);
  Image image(65536);
  for (int64_t k = 0; k <= d; ++k) {
    const int64_t offset = d ? (e * k + d / 2) / d : 0;
    dx >= dy ? put(image, x1 + k, y1 + sy * offset) : put(image, x1 + offset, y1 + sy * k);
  }
  return image;
}
// The textbook midpoint circle, its decision starting at 1 - r.
Image model_circle(int64_t cx, int64_t cy, int64_t r) {
  Image image(65536);
  for (int64_t x = 0, y = r, d = 1 - r; x <= y; ++x) {
    for (const auto& [a, b] : {std::pair{x, y}, std::pair{y, x}})
      for (const int64_t sa : {-1, 1})
        for (const int64_t sb : {-1, 1}) put(image, cx + sa * a, cy + sb * b);
    d += d < 0 ? 2 * x + 3 : 2 * (x - --y) + 3;
  }
  return image;
}

class Graphics : public Vorn {
 protected:
  void SetUp() override { start(); }
  // Runs `routine` with the registers given until it returns, and gives
  // its T-states. Nothing below the display may change but the drawing's
  // own variables and 32 bytes of stack; IX, IY and interrupts stay as they were.
  uint32_t call(const char* routine, uint16_t hl, uint16_t de, uint16_t bc, uint8_t a) {
    Z80State& s = machine.cpu;
    s.h = hl >> 8, s.l = hl & 0xFF, s.d = de >> 8, s.e = de & 0xFF, s.b = bc >> 8, s.c = bc & 0xFF, s.a = a;
    s.ix = 0x1234, s.iy = 0x5678, s.iff1 = s.iff2 = 1, s.cycles = 0;
    s.sp = kStackTop - 2;
    machine.memory[s.sp] = kReturn & 0xFF, machine.memory[s.sp + 1] = kReturn >> 8;
    const Bytes before(machine.memory, machine.memory + kScreen);
    for (s.pc = rom_symbol(routine); s.pc != kReturn && s.cycles < 100'000'000;) z80_execute(&s);
    EXPECT_EQ(s.pc, kReturn) << routine << " did not return";
    EXPECT_EQ(s.sp, kStackTop);
    EXPECT_EQ(s.ix, 0x1234);
    EXPECT_EQ(s.iy, 0x5678);
    EXPECT_EQ(s.iff1, 1);
    int strays = 0;
    for (int i = 0; i < kScreen; ++i)
      strays += machine.memory[i] != before[i] && (i < kWork || i >= kWork + 64) &&
                (i < kStackTop - 34 || i >= kStackTop);
    EXPECT_EQ(strays, 0) << routine << " wrote outside the display";
    return s.cycles;
  }
  void clear(uint8_t fill) { std::fill(machine.memory + kScreen, machine.memory + 0x10000, fill); }
  uint32_t plot(int x, int y, uint8_t colour) { return call("plot", x, y, 0, colour); }
  int point(int x, int y) {
    call("point", x, y, 0, 0xAA);
    return machine.cpu.a;
  }
  uint32_t line(int x1, int y1, int x2, int y2, uint8_t colour) {
    const int ends[] = {x1, y1, x2, y2};
    for (int i = 0; i < 4; ++i)
      machine.memory[kWork + 2 * i] = ends[i] & 0xFF, machine.memory[kWork + 2 * i + 1] = ends[i] >> 8 & 0xFF;
    const uint32_t t = call("draw_line", 0, 0, 0, colour);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(int16_t(machine.memory[kWork + 2 * i + 1] << 8 | machine.memory[kWork + 2 * i]), ends[i]);
    return t;
  }
  uint32_t circle(int x, int y, int r, uint8_t colour) { return call("draw_circle", x, y, r, colour); }
  // Draws in ink on paper and in paper on ink: both must give `want`. Gives
  // what the ink drew.
  template <typename Draw>
  Image expect_drawn(const Image& want, const std::string& what, Draw draw) {
    clear(0);
    draw(0x80);
    const Image drawn = shown();
    EXPECT_EQ(differences(drawn, want), "") << what;
    clear(0xFF);
    draw(0);
    Image cleared = shown();
    for (uint8_t& pixel : cleared) pixel ^= 1;
    EXPECT_EQ(differences(cleared, want), "") << what << " in paper";
    return drawn;
  }
};

TEST_F(Graphics, PlotChangesJustItsPixelAndPointReadsItBack) {
  for (int x = 0; x < 256; ++x) {
    const int y = x * 37 & 255;
    Image want(65536);
    put(want, x, y);
    expect_drawn(want, named({x, y}), [&](uint8_t colour) { plot(x, y, colour); });
    EXPECT_EQ(point(x, y), 0);
    clear(0);
    plot(x, y, 0x40);
    EXPECT_EQ(point(x, y), 1);
    EXPECT_EQ(point(x ^ 1, y) + point(x, y ^ 1), 0);
  }
  clear(0xFF);
  for (const auto& [x, y] :
       {std::pair{-1, 0}, {256, 0}, {0, -1}, {0, 256}, {-32768, 5}, {5, 32767}, {511, 300}}) {
    plot(x, y, 0);
    EXPECT_EQ(point(x, y), 0) << x << "," << y;
  }
  EXPECT_EQ(differences(shown(), Image(65536, 1)), "");
  std::printf("plot: %u T-states\n", plot(200, 100, 1));
}

TEST_F(Graphics, LinesLightEveryColumnOrRowBetweenTheirEndsWhicheverEndComesFirst) {
  std::mt19937 random(7);
  std::vector<std::array<int, 4>> lines = {{0, 0, 255, 0},     {0, 0, 255, 255},  {255, 0, 0, 255},
                                           {7, 9, 7, 200},     {3, 3, 3, 3},      {10, 20, 250, 21},
                                           {200, 5, 190, 250}, {0, 255, 255, 200}};
  for (int i = 0; i < 60; ++i) {
    lines.push_back({});
    for (int& c : lines.back()) c = int(random() % 256);
  }
  for (const auto& ends : lines) {
    const int x1 = ends[0], y1 = ends[1], x2 = ends[2], y2 = ends[3];
    const std::string what = named({x1, y1, x2, y2});
    clear(0);
    line(x1, y1, x2, y2, 1);
    const Image drawn = shown();
    EXPECT_TRUE(drawn[y1 * 256 + x1] && drawn[y2 * 256 + x2]) << what;
    const bool along_x = std::abs(x2 - x1) >= std::abs(y2 - y1);
    const int from = along_x ? x1 : y1, to = along_x ? x2 : y2;
    for (int c = std::min(from, to); c <= std::max(from, to); ++c) {
      int lit = 0;
      for (int o = 0; o < 256; ++o) lit += drawn[along_x ? o * 256 + c : c * 256 + o];
      EXPECT_EQ(lit, 1) << what << (along_x ? " column " : " row ") << c;
    }
    EXPECT_EQ(differences(drawn, model_line(x1, y1, x2, y2)), "") << what;
    expect_drawn(drawn, what + " reversed", [&](uint8_t colour) { line(x2, y2, x1, y1, colour); });
  }
  clear(0);
  std::printf("line: 256 across %u, 256 diagonal %u, 256 down %u T-states\n", line(0, 0, 255, 0, 1),
              line(0, 0, 255, 255, 1), line(100, 0, 101, 255, 1));
}

TEST_F(Graphics, LinesOffTheDisplayDrawJustTheirPixelsOnIt) {
  std::mt19937 random(11);
  // Long lines, lines of any length, and short lines about an edge or corner.
  for (int i = 0; i < 180; ++i) {
    const int span = i < 60 ? 1100 : 65536, base = i < 60 ? -420 : -32768;
    int e[4];
    for (int& c : e) c = base + int(random() % span);
    if (i % 3 == 0) e[3] = std::clamp(e[1] + int(random() % 601) - 300, -32768, 32767);
    const int near[2] = {int(random() % 3) * 128 - 6 + int(random() % 12), int(random() % 3) * 128 - 6};
    for (int c = 0; c < 4 && i >= 120; ++c) e[c] = near[c % 2] + int(random() % 25) - 12;
    expect_drawn(model_line(e[0], e[1], e[2], e[3]), named({e[0], e[1], e[2], e[3]}),
                 [&](uint8_t c) { line(e[0], e[1], e[2], e[3], c); });
  }
  // Shifted over the edges, a line on the display keeps the pixels still on it.
  for (int i = 0; i < 60; ++i) {
    int e[4], sx = int(random() % 301) - 150, sy = int(random() % 301) - 150;
    for (int& c : e) c = int(random() % 256);
    clear(0);
    line(e[0], e[1], e[2], e[3], 1);
    const Image want = moved(shown(), sx, sy);
    clear(0);
    line(e[0] + sx, e[1] + sy, e[2] + sx, e[3] + sy, 1);
    EXPECT_EQ(differences(shown(), want), "") << named({e[0], e[1], e[2], e[3], sx, sy});
  }
  std::printf("line from -30000 to 30000: %u T-states\n", line(-30000, -29000, 30000, 31000, 1));
}

TEST_F(Graphics, CirclesAreRoundSymmetricGaplessAndClippedAtTheEdges) {
  // About (128, 127), each pixel is at (128 + x, 127 + y).
  std::vector<int> radii = {50, 100, 127};
  for (int r = 0; r < 24; ++r) radii.push_back(r);
  for (const int r : radii) {
    const Image drawn =
        expect_drawn(model_circle(128, 127, r), named({r}), [&](uint8_t c) { circle(128, 127, r, c); });
    for (int i = 0; i < 65536; ++i) {
      if (!drawn[i]) continue;
      const int x = i % 256 - 128, y = i / 256 - 127;
      EXPECT_LT(std::abs(std::hypot(x, y) - r), 1.0) << "radius " << r;
      EXPECT_TRUE(at(drawn, 128 + x, 127 - y) && at(drawn, 128 + y, 127 + x)) << "radius " << r << " unlike";
      int neighbours = 0;
      for (int n = 0; n < 9; ++n) neighbours += n != 4 && at(drawn, 127 + x + n % 3, 126 + y + n / 3);
      EXPECT_GE(neighbours, r ? 2 : 0) << "radius " << r << " at " << x << "," << y;
    }
  }
  // Circles about the display, huge ones crossing it, and the largest from the far corners of the plane.
  std::mt19937 random(5);
  for (int i = 0; i < 84; ++i) {
    const bool huge = i >= 50;
    int x = int(random() % (huge ? 60000 : 900)) - (huge ? 30000 : 320);
    int y = int(random() % (huge ? 60000 : 900)) - (huge ? 30000 : 320);
    const double reach = std::hypot(x - 128, y - 128);
    int r = huge ? std::clamp(int(reach) + int(random() % 300) - 150, 0, 32767) : int(random() % 400);
    const int far[4][2] = {{-32768, 181}, {128, -32768}, {32767, 100}, {60, 32767}};
    if (i >= 80) x = far[i - 80][0], y = far[i - 80][1], r = 32767;
    expect_drawn(model_circle(x, y, r), named({x, y, r}), [&](uint8_t c) { circle(x, y, r, c); });
  }
  // Moved over the edges, a circle on the display keeps the pixels still on it.
  for (int i = 0; i < 40; ++i) {
    const int r = int(random() % 128), x = r + int(random() % (256 - 2 * r)),
              y = r + int(random() % (256 - 2 * r));
    const int sx = int(random() % 301) - 150, sy = int(random() % 301) - 150;
    clear(0);
    circle(x, y, r, 1);
    const Image want = moved(shown(), sx, sy);
    clear(0);
    circle(x + sx, y + sy, r, 1);
    EXPECT_EQ(differences(shown(), want), "") << named({x, y, r, sx, sy});
  }
  clear(0);
  std::printf("circle: radius 100 %u, radius 20000 across the display %u T-states\n",
              circle(128, 128, 100, 1), circle(-14000, 128 - 14000, 20000, 1));
}

}  // namespace
