// The keyboard: 8 rows of 5 keys read through port 0x80. Address line
// A(8 + r) low selects row r; a down key reads as its column bit toggled, so
// a key alone in the selected rows reads 0 (active low) and two down keys in
// the same column of two selected rows cancel out. Bit 7 is the tape input.
#include <array>

#include "machine/machine.h"
#include "machine/scancodes.h"
#include "machine/tape_deck.h"

namespace {

// Frames a held host key spends released after its first frame down, before
// it reads as held: one press, a pause, then the repeat.
constexpr uint32_t kHoldPauseFrames = 25;

constexpr int kCtrlRow = 4;
constexpr int kShiftRow = 7;

struct KeyPosition {
  int scancode;
  int row;
  int column;
};

// Every host key that drives a matrix position, the modifiers aside.
constexpr KeyPosition kKeyTable[] = {
    {SCANCODE_1, 0, 0}, {SCANCODE_3, 0, 1}, {SCANCODE_5, 0, 2}, {SCANCODE_7, 0, 3},
    {SCANCODE_9, 0, 4}, {SCANCODE_2, 1, 0}, {SCANCODE_4, 1, 1}, {SCANCODE_6, 1, 2},
    {SCANCODE_8, 1, 3}, {SCANCODE_0, 1, 4}, {SCANCODE_Q, 2, 0}, {SCANCODE_E, 2, 1},
    {SCANCODE_T, 2, 2}, {SCANCODE_U, 2, 3}, {SCANCODE_O, 2, 4}, {SCANCODE_W, 3, 0},
    {SCANCODE_R, 3, 1}, {SCANCODE_Y, 3, 2}, {SCANCODE_I, 3, 3}, {SCANCODE_P, 3, 4},
    {SCANCODE_S, 4, 1}, {SCANCODE_F, 4, 2}, {SCANCODE_H, 4, 3}, {SCANCODE_K, 4, 4},
    {SCANCODE_A, 5, 0}, {SCANCODE_D, 5, 1}, {SCANCODE_G, 5, 2}, {SCANCODE_J, 5, 3},
    {SCANCODE_L, 5, 4}, {SCANCODE_Z, 6, 0}, {SCANCODE_C, 6, 1}, {SCANCODE_B, 6, 2},
    {SCANCODE_M, 6, 3}, {SCANCODE_RETURN, 6, 4}, {SCANCODE_X, 7, 1}, {SCANCODE_V, 7, 2},
    {SCANCODE_N, 7, 3}, {SCANCODE_SPACE, 7, 4},
};

constexpr int kUnmapped = -1;

// Matrix position (row x 5 + column) of each scancode, or kUnmapped.
constexpr std::array<int, kScancodeCount> kPositionOf = [] {
  std::array<int, kScancodeCount> positions{};
  positions.fill(kUnmapped);
  for (const KeyPosition& key : kKeyTable) positions[key.scancode] = key.row * kKeyColumns + key.column;
  return positions;
}();

bool down(const HostKeyboard& host, int scancode) {
  return scancode < host.count && host.state[scancode] != 0;
}

}  // namespace

void keys_update(const HostKeyboard& host) {
  // Ctrl and Shift follow the host keys directly: a held modifier must read
  // down continuously.
  machine.keys.rows[kCtrlRow][0] = down(host, SCANCODE_LCTRL) || down(host, SCANCODE_RCTRL);
  machine.keys.rows[kShiftRow][0] = down(host, SCANCODE_LSHIFT) || down(host, SCANCODE_RSHIFT);

  for (int k = 0; k < host.count; ++k) {
    uint8_t level = host.state[k];
    if (level != 0 && host.previous[k] != 0) {
      const uint32_t held = host.hold_counters[k]++;
      if (held < kHoldPauseFrames) level = 0;
    } else {
      host.hold_counters[k] = 0;
    }
    if (k < kScancodeCount && kPositionOf[k] != kUnmapped)
      machine.keys.rows[kPositionOf[k] / kKeyColumns][kPositionOf[k] % kKeyColumns] = level;
  }
}

uint8_t machine_port_in(void*, uint16_t port) {
  if ((port & 0xFF) != kPort) return 0xFF;
  const uint8_t selected = static_cast<uint8_t>(~(port >> 8));
  if (selected == 0) return 0xFF;

  uint8_t value = 0x1F;
  for (int row = 0; row < kKeyRows; ++row) {
    if (!(selected & (1 << row))) continue;
    for (int column = 0; column < kKeyColumns; ++column)
      if (machine.keys.rows[row][column]) value ^= 1 << column;
  }
  if (machine.tape.state == TAPE_PLAYING && tape_input_high(machine.cpu.cycles)) value |= 0x80;
  return value;
}
