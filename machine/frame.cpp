// One 20 ms frame: the frame's interrupt, the picture of the previous frame,
// a fresh speaker buffer, 50,000 T-states of processor time, and the tape
// clock advanced by the T-states actually run.
#include <cstring>

#include "machine/machine.h"
#include "machine/tape_deck.h"

void machine_frame() {
  // Only the three real interrupt modes take the frame's interrupt; a
  // snapshot may hold any other value.
  if (machine.cpu.im <= 2) z80_request_int(&machine.cpu, 0);

  video_convert();

  machine.sound_active = 0;
  std::memset(machine.speaker, kSilentSample, kSamplesPerFrame);

  const uint32_t ran = z80_run(&machine.cpu, kFrameTStates);

  tape_frame_end(ran);
}
