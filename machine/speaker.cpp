// The one-bit output: bit 7 of a write to port 0x80 drives the speaker and,
// while recording, the tape. Each write sets the one speaker sample its
// T-state falls in; the samples between writes stay at the rest level.
#include "machine/machine.h"
#include "machine/tape_deck.h"

void machine_port_out(void*, uint16_t port, uint8_t value) {
  if ((port & 0xFF) != kPort) return;
  const uint8_t level = value & 0x80 ? 255 : 0;
  // 32-bit on purpose: a frame's T-states times the sample rate fit easily.
  const uint32_t t = machine.cpu.cycles;
  const uint32_t sample = t * kSampleRate / kClockHz;
  if (sample < kSamplesPerFrame) machine.speaker[sample] = level;
  if (machine.tape.state == TAPE_RECORDING) tape_record_level(t, level);
  machine.sound_active = 1;
}
