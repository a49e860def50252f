// The processor record's stored form: 69 bytes, little-endian, at fixed
// offsets. The six callback and context slots (offsets 35 to 58) are
// written as zeros and never read back: a loaded record keeps its own.
#include <cstring>

#include "core/z80.h"

namespace {

constexpr size_t kBindingOffset = 35;
constexpr size_t kBindingSize = 24;

void put16(uint8_t* at, uint16_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

uint16_t get16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

void z80_state_to_image(const Z80State* s, uint8_t image[kZ80ImageSize]) {
  image[0] = s->f;
  image[1] = s->a;
  image[2] = s->c;
  image[3] = s->b;
  image[4] = s->e;
  image[5] = s->d;
  image[6] = s->l;
  image[7] = s->h;
  put16(image + 8, s->ix);
  put16(image + 10, s->iy);
  put16(image + 12, s->sp);
  image[14] = s->f_alt;
  image[15] = s->a_alt;
  image[16] = s->c_alt;
  image[17] = s->b_alt;
  image[18] = s->e_alt;
  image[19] = s->d_alt;
  image[20] = s->l_alt;
  image[21] = s->h_alt;
  std::memcpy(image + 22, s->alt_spare, sizeof s->alt_spare);
  put16(image + 28, s->pc);
  image[30] = s->r;
  image[31] = s->i;
  image[32] = s->iff1;
  image[33] = s->iff2;
  image[34] = s->im;
  std::memset(image + kBindingOffset, 0, kBindingSize);
  image[59] = s->halted;
  image[60] = static_cast<uint8_t>(s->cycles);
  image[61] = static_cast<uint8_t>(s->cycles >> 8);
  image[62] = static_cast<uint8_t>(s->cycles >> 16);
  image[63] = static_cast<uint8_t>(s->cycles >> 24);
  image[64] = s->nmi_pending;
  image[65] = s->int_pending;
  image[66] = s->int_delay;
  image[67] = s->int_data;
  image[68] = s->bus_opcode;
}

void z80_state_from_image(Z80State* s, const uint8_t image[kZ80ImageSize]) {
  s->f = image[0];
  s->a = image[1];
  s->c = image[2];
  s->b = image[3];
  s->e = image[4];
  s->d = image[5];
  s->l = image[6];
  s->h = image[7];
  s->ix = get16(image + 8);
  s->iy = get16(image + 10);
  s->sp = get16(image + 12);
  s->f_alt = image[14];
  s->a_alt = image[15];
  s->c_alt = image[16];
  s->b_alt = image[17];
  s->e_alt = image[18];
  s->d_alt = image[19];
  s->l_alt = image[20];
  s->h_alt = image[21];
  std::memcpy(s->alt_spare, image + 22, sizeof s->alt_spare);
  s->pc = get16(image + 28);
  s->r = image[30];
  s->i = image[31];
  s->iff1 = image[32];
  s->iff2 = image[33];
  s->im = image[34];
  s->halted = image[59];
  s->cycles = static_cast<uint32_t>(image[60] | (image[61] << 8) | (image[62] << 16)) |
              (static_cast<uint32_t>(image[63]) << 24);
  s->nmi_pending = image[64];
  s->int_pending = image[65];
  s->int_delay = image[66];
  s->int_data = image[67];
  s->bus_opcode = image[68];
}
